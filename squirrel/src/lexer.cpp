#include "lexer.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <limits>
#include <unordered_map>

namespace squirrel::detail {

namespace {

const std::unordered_map<std::string_view, int>& keywords() {
    static const std::unordered_map<std::string_view, int> table = {
        {"base", TK_BASE},
        {"break", TK_BREAK},
        {"case", TK_CASE},
        {"catch", TK_CATCH},
        {"class", TK_CLASS},
        {"clone", TK_CLONE},
        {"continue", TK_CONTINUE},
        {"const", TK_CONST},
        {"default", TK_DEFAULT},
        {"delegate", TK_DELEGATE},
        {"delete", TK_DELETE},
        {"do", TK_DO},
        {"else", TK_ELSE},
        {"enum", TK_ENUM},
        {"extends", TK_EXTENDS},
        {"for", TK_FOR},
        {"foreach", TK_FOREACH},
        {"function", TK_FUNCTION},
        {"if", TK_IF},
        {"in", TK_IN},
        {"local", TK_LOCAL},
        {"null", TK_NULL},
        {"resume", TK_RESUME},
        {"return", TK_RETURN},
        {"switch", TK_SWITCH},
        {"this", TK_THIS},
        {"throw", TK_THROW},
        {"try", TK_TRY},
        {"typeof", TK_TYPEOF},
        {"while", TK_WHILE},
        {"yield", TK_YIELD},
        {"constructor", TK_CONSTRUCTOR},
        {"instanceof", TK_INSTANCEOF},
        {"true", TK_TRUE},
        {"false", TK_FALSE},
        {"static", TK_STATIC},
        {"__LINE__", TK_LINE},
        {"__FILE__", TK_FILE},
        {"rawcall", TK_RAWCALL},
        {"vargc", TK_VARGC},
    };
    return table;
}

bool isIdentifierStart(int c) {
    return c == '_' || (c >= 0 && std::isalpha(c));
}
bool isIdentifierChar(int c) {
    return c == '_' || (c >= 0 && std::isalnum(c));
}

int hexDigit(int c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

void appendUtf8(std::string& out, std::uint32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | ((code >> 18) & 0x07));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

} // namespace

Lexer::Lexer(std::string_view text) : src_(text) {}

void Lexer::error(const std::string& message) const {
    throw CompileError(message, line, column);
}

std::string Lexer::tokenText(int token) {
    switch (token) {
    case TK_EOF:
        return "end of file";
    case TK_IDENTIFIER:
        return "IDENTIFIER";
    case TK_STRING:
        return "STRING_LITERAL";
    case TK_INTEGER:
        return "INTEGER";
    case TK_FLOAT:
        return "FLOAT";
    case TK_EQ:
        return "==";
    case TK_NE:
        return "!=";
    case TK_LE:
        return "<=";
    case TK_GE:
        return ">=";
    case TK_AND:
        return "&&";
    case TK_OR:
        return "||";
    case TK_NEWSLOT:
        return "<-";
    case TK_PLUSEQ:
        return "+=";
    case TK_MINUSEQ:
        return "-=";
    case TK_MULEQ:
        return "*=";
    case TK_DIVEQ:
        return "/=";
    case TK_MODEQ:
        return "%=";
    case TK_PLUSPLUS:
        return "++";
    case TK_MINUSMINUS:
        return "--";
    case TK_SHL:
        return "<<";
    case TK_SHR:
        return ">>";
    case TK_USHR:
        return ">>>";
    case TK_CMP3:
        return "<=>";
    case TK_DOUBLECOLON:
        return "::";
    case TK_ATTR_OPEN:
        return "</";
    case TK_ATTR_CLOSE:
        return "/>";
    case TK_VARPARAMS:
        return "...";
    default:
        break;
    }
    if (token < 256)
        return std::string(1, static_cast<char>(token));
    for (const auto& [name, value] : keywords()) {
        if (value == token)
            return std::string(name);
    }
    return "?";
}

int Lexer::readChar() {
    int c = peekChar();
    if (c < 0)
        return c;
    ++pos_;
    if (c == '\n') {
        ++curLine_;
        curColumn_ = 1;
    } else {
        ++curColumn_;
    }
    return c;
}

void Lexer::skipBlockComment() {
    for (;;) {
        int c = readChar();
        if (c < 0)
            error("missing \"*/\" in comment");
        if (c == '\n')
            newlineBefore = true;
        if (c == '*' && peekChar() == '/') {
            readChar();
            return;
        }
    }
}

int Lexer::next() {
    previous = token;
    previousLine = line;
    newlineBefore = false;
    for (;;) {
        line = curLine_;
        column = curColumn_;
        int c = peekChar();
        if (c < 0)
            return token = TK_EOF;
        switch (c) {
        case '\n':
            newlineBefore = true;
            readChar();
            continue;
        case ' ':
        case '\t':
        case '\r':
        case '\f':
        case '\v':
            readChar();
            continue;
        case 0xEF:
            // A UTF-8 byte order mark, as editors put at the start of files that are then
            // joined into one source, counts as white space.
            if (peekChar(1) == 0xBB && peekChar(2) == 0xBF) {
                pos_ += 3;
                continue;
            }
            break;
        case '#':
            while (peekChar() >= 0 && peekChar() != '\n')
                readChar();
            continue;
        case '/':
            readChar();
            if (peekChar() == '/') {
                while (peekChar() >= 0 && peekChar() != '\n')
                    readChar();
                continue;
            }
            if (peekChar() == '*') {
                readChar();
                skipBlockComment();
                continue;
            }
            if (peekChar() == '=') {
                readChar();
                return token = TK_DIVEQ;
            }
            if (peekChar() == '>') {
                readChar();
                return token = TK_ATTR_CLOSE;
            }
            return token = '/';
        case '=':
            readChar();
            if (peekChar() == '=') {
                readChar();
                return token = TK_EQ;
            }
            return token = '=';
        case '<':
            readChar();
            if (peekChar() == '=') {
                readChar();
                if (peekChar() == '>') {
                    readChar();
                    return token = TK_CMP3;
                }
                return token = TK_LE;
            }
            if (peekChar() == '-') {
                readChar();
                return token = TK_NEWSLOT;
            }
            if (peekChar() == '<') {
                readChar();
                return token = TK_SHL;
            }
            if (peekChar() == '/') {
                readChar();
                return token = TK_ATTR_OPEN;
            }
            return token = '<';
        case '>':
            readChar();
            if (peekChar() == '=') {
                readChar();
                return token = TK_GE;
            }
            if (peekChar() == '>') {
                readChar();
                if (peekChar() == '>') {
                    readChar();
                    return token = TK_USHR;
                }
                return token = TK_SHR;
            }
            return token = '>';
        case '!':
            readChar();
            if (peekChar() == '=') {
                readChar();
                return token = TK_NE;
            }
            return token = '!';
        case '&':
            readChar();
            if (peekChar() == '&') {
                readChar();
                return token = TK_AND;
            }
            return token = '&';
        case '|':
            readChar();
            if (peekChar() == '|') {
                readChar();
                return token = TK_OR;
            }
            return token = '|';
        case '+':
            readChar();
            if (peekChar() == '+') {
                readChar();
                return token = TK_PLUSPLUS;
            }
            if (peekChar() == '=') {
                readChar();
                return token = TK_PLUSEQ;
            }
            return token = '+';
        case '-':
            readChar();
            if (peekChar() == '-') {
                readChar();
                return token = TK_MINUSMINUS;
            }
            if (peekChar() == '=') {
                readChar();
                return token = TK_MINUSEQ;
            }
            return token = '-';
        case '*':
            readChar();
            if (peekChar() == '=') {
                readChar();
                return token = TK_MULEQ;
            }
            return token = '*';
        case '%':
            readChar();
            if (peekChar() == '=') {
                readChar();
                return token = TK_MODEQ;
            }
            return token = '%';
        case ':':
            readChar();
            if (peekChar() == ':') {
                readChar();
                return token = TK_DOUBLECOLON;
            }
            return token = ':';
        case '.':
            readChar();
            if (peekChar() == '.') {
                readChar();
                if (peekChar() != '.')
                    error("invalid token '..'");
                readChar();
                return token = TK_VARPARAMS;
            }
            return token = '.';
        case '@':
            readChar();
            if (peekChar() == '"') {
                readChar();
                return token = lexVerbatimString();
            }
            return token = '@';
        case '"':
        case '\'':
            readChar();
            return token = lexString(c);
        case '{':
        case '}':
        case '[':
        case ']':
        case '(':
        case ')':
        case ';':
        case ',':
        case '?':
        case '~':
        case '^':
            readChar();
            return token = c;
        default:
            break;
        }
        if (c >= '0' && c <= '9')
            return token = lexNumber();
        if (isIdentifierStart(c)) {
            std::size_t start = pos_;
            while (isIdentifierChar(peekChar()))
                readChar();
            std::string_view word = src_.substr(start, pos_ - start);
            auto it = keywords().find(word);
            if (it != keywords().end())
                return token = it->second;
            text.assign(word);
            return token = TK_IDENTIFIER;
        }
        error("unexpected character '" + std::string(1, static_cast<char>(c)) + "'");
    }
}

int Lexer::lexNumber() {
    std::size_t start = pos_;
    if (peekChar() == '0' && (peekChar(1) == 'x' || peekChar(1) == 'X')) {
        readChar();
        readChar();
        std::uint32_t value = 0;
        if (hexDigit(peekChar()) < 0)
            error("expected hex digits after '0x'");
        while (hexDigit(peekChar()) >= 0)
            value = value * 16 + static_cast<std::uint32_t>(hexDigit(readChar()));
        intValue = static_cast<std::int32_t>(value);
        return TK_INTEGER;
    }
    if (peekChar() == '0' && peekChar(1) >= '0' && peekChar(1) <= '9') {
        readChar();
        std::uint32_t value = 0;
        while (peekChar() >= '0' && peekChar() <= '9') {
            int digit = readChar() - '0';
            if (digit > 7)
                error("invalid octal number");
            value = value * 8 + static_cast<std::uint32_t>(digit);
        }
        intValue = static_cast<std::int32_t>(value);
        return TK_INTEGER;
    }
    bool isFloat = false;
    while (peekChar() >= '0' && peekChar() <= '9')
        readChar();
    if (peekChar() == '.') {
        isFloat = true;
        readChar();
        while (peekChar() >= '0' && peekChar() <= '9')
            readChar();
    }
    if (peekChar() == 'e' || peekChar() == 'E') {
        isFloat = true;
        readChar();
        if (peekChar() == '+' || peekChar() == '-')
            readChar();
        if (!(peekChar() >= '0' && peekChar() <= '9'))
            error("exponent expected");
        while (peekChar() >= '0' && peekChar() <= '9')
            readChar();
    }
    std::string digits(src_.substr(start, pos_ - start));
    if (isFloat) {
        const double value = std::strtod(digits.c_str(), nullptr);
        if (!(value <= std::numeric_limits<float>::max())) {
            error("float literal out of range (the largest float is about 3.4e38)");
        }
        floatValue = static_cast<float>(value);
        return TK_FLOAT;
    }
    // Decimal literals wrap to 32 bits like the other integer forms; one that needs more than
    // 32 bits is a mistake, not a value to wrap.
    errno = 0;
    const unsigned long long value = std::strtoull(digits.c_str(), nullptr, 10);
    if (errno == ERANGE || value > std::numeric_limits<std::uint32_t>::max()) {
        error("integer literal out of range (more than 32 bits)");
    }
    intValue = static_cast<std::int32_t>(value);
    return TK_INTEGER;
}

void Lexer::readEscape() {
    int c = readChar();
    switch (c) {
    case 't':
        text += '\t';
        break;
    case 'a':
        text += '\a';
        break;
    case 'b':
        text += '\b';
        break;
    case 'n':
        text += '\n';
        break;
    case 'r':
        text += '\r';
        break;
    case 'v':
        text += '\v';
        break;
    case 'f':
        text += '\f';
        break;
    case '0':
        text += '\0';
        break;
    case '\\':
    case '"':
    case '\'':
        text += static_cast<char>(c);
        break;
    case 'x':
    case 'u':
    case 'U': {
        int maxDigits = c == 'x' ? 2 : c == 'u' ? 4 : 8;
        if (hexDigit(peekChar()) < 0)
            error("hexadecimal number expected");
        std::uint32_t code = 0;
        for (int i = 0; i < maxDigits && hexDigit(peekChar()) >= 0; ++i)
            code = code * 16 + static_cast<std::uint32_t>(hexDigit(readChar()));
        if (c == 'x')
            text += static_cast<char>(code);
        else
            appendUtf8(text, code);
        break;
    }
    default:
        error("unrecognised escaper char");
    }
}

int Lexer::lexString(int delimiter) {
    text.clear();
    for (;;) {
        int c = peekChar();
        if (c < 0)
            error("unfinished string");
        if (c == '\n')
            error("newline in a constant");
        readChar();
        if (c == delimiter)
            break;
        if (c == '\\')
            readEscape();
        else
            text += static_cast<char>(c);
    }
    if (delimiter == '\'') {
        if (text.empty())
            error("empty constant");
        if (text.size() > 1)
            error("constant too long");
        intValue = static_cast<signed char>(text[0]);
        return TK_INTEGER;
    }
    return TK_STRING;
}

int Lexer::lexVerbatimString() {
    text.clear();
    for (;;) {
        int c = readChar();
        if (c < 0)
            error("unfinished string");
        if (c == '"') {
            if (peekChar() != '"')
                return TK_STRING;
            readChar();
        }
        text += static_cast<char>(c);
    }
}

} // namespace squirrel::detail
