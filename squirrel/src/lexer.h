// Turns script text into tokens.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace squirrel::detail {

// Tokens: single-character tokens are their character code; the rest follow.
enum Token : int {
    TK_EOF = 0,
    TK_IDENTIFIER = 256,
    TK_STRING,
    TK_INTEGER,
    TK_FLOAT,
    TK_EQ,          // ==
    TK_NE,          // !=
    TK_LE,          // <=
    TK_GE,          // >=
    TK_AND,         // &&
    TK_OR,          // ||
    TK_NEWSLOT,     // <-
    TK_PLUSEQ,      // +=
    TK_MINUSEQ,     // -=
    TK_MULEQ,       // *=
    TK_DIVEQ,       // /=
    TK_MODEQ,       // %=
    TK_PLUSPLUS,    // ++
    TK_MINUSMINUS,  // --
    TK_SHL,         // <<
    TK_SHR,         // >>
    TK_USHR,        // >>>
    TK_CMP3,        // <=>
    TK_DOUBLECOLON, // ::
    TK_ATTR_OPEN,   // </
    TK_ATTR_CLOSE,  // />
    TK_VARPARAMS,   // ...
    // keywords
    TK_BASE,
    TK_BREAK,
    TK_CASE,
    TK_CATCH,
    TK_CLASS,
    TK_CLONE,
    TK_CONTINUE,
    TK_CONST,
    TK_DEFAULT,
    TK_DELEGATE,
    TK_DELETE,
    TK_DO,
    TK_ELSE,
    TK_ENUM,
    TK_EXTENDS,
    TK_FOR,
    TK_FOREACH,
    TK_FUNCTION,
    TK_IF,
    TK_IN,
    TK_LOCAL,
    TK_NULL,
    TK_RESUME,
    TK_RETURN,
    TK_SWITCH,
    TK_THIS,
    TK_THROW,
    TK_TRY,
    TK_TYPEOF,
    TK_WHILE,
    TK_YIELD,
    TK_CONSTRUCTOR,
    TK_INSTANCEOF,
    TK_TRUE,
    TK_FALSE,
    TK_STATIC,
    TK_LINE, // __LINE__
    TK_FILE, // __FILE__
    TK_RAWCALL,
    TK_VARGC,
};

struct CompileError : std::runtime_error {
    CompileError(const std::string& message, int line, int column)
        : std::runtime_error(message), line(line), column(column) {}
    int line;
    int column;
};

class Lexer {
public:
    explicit Lexer(std::string_view text);

    // Reads the next token into the public fields and returns it.
    int next();
    [[noreturn]] void error(const std::string& message) const;
    // Readable form of a token for messages.
    static std::string tokenText(int token);

    int token = TK_EOF;
    int previous = TK_EOF;      // the token before the current one
    bool newlineBefore = false; // a line break separates the current token from the previous
    int line = 1;               // line of the current token
    int previousLine = 1;       // line of the token before it
    int column = 1;
    std::string text; // identifier or string contents
    std::int32_t intValue = 0;
    float floatValue = 0.0f;

private:
    int peekChar(std::size_t ahead = 0) const {
        return pos_ + ahead < src_.size() ? static_cast<unsigned char>(src_[pos_ + ahead]) : -1;
    }
    int readChar();
    int lexNumber();
    int lexString(int delimiter);
    int lexVerbatimString();
    void readEscape();
    void skipBlockComment();

    std::string_view src_;
    std::size_t pos_ = 0;
    int curLine_ = 1;
    int curColumn_ = 1;
};

} // namespace squirrel::detail
