// Command-line interpreter: sq FILE [ARGS...] runs the script; `print` writes to standard
// output, errors go to standard error and make the exit code non-zero. The script receives the
// arguments in vargv.
#include "squirrel/squirrel.h"

#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: sq FILE [ARGS...]\n";
        return 2;
    }
    std::ifstream file(argv[1], std::ios::binary);
    if (!file) {
        std::cerr << "sq: cannot open '" << argv[1] << "'\n";
        return 2;
    }
    std::ostringstream text;
    text << file.rdbuf();

    squirrel::VM vm;
    try {
        squirrel::Object main = vm.compile(text.str(), argv[1]);
        std::vector<squirrel::Object> args;
        for (int i = 2; i < argc; ++i)
            args.push_back(vm.string(argv[i]));
        main.call(args);
    } catch (const squirrel::SquirrelError& e) {
        std::fflush(stdout);
        if (e.callStack().empty() && e.column() > 0) {
            std::cerr << e.what() << "\n";
        } else {
            std::cerr << "AN ERROR HAS OCCURED [" << e.message() << "]\n\nCALLSTACK\n";
            for (const auto& frame : e.callStack())
                std::cerr << "*FUNCTION [" << frame.function << "()] " << frame.source << " line ["
                          << frame.line << "]\n";
        }
        return 1;
    }
    return 0;
}
