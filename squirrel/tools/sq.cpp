// Command-line interpreter: sq [--budget=N] FILE [ARGS...] runs the script; `print` writes to
// standard output, errors go to standard error and make the exit code non-zero. The script
// receives the arguments in vargv. --budget limits the run to N operations
// (VM::setOperationBudget).
#include "squirrel/squirrel.h"

#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

int main(int argc, char** argv) {
    const std::string budgetOption = "--budget=";
    unsigned long long budget = 0;
    int first = 1;
    if (argc > 1 && std::string(argv[1]).rfind(budgetOption, 0) == 0) {
        const std::string count = std::string(argv[1]).substr(budgetOption.size());
        if (count.empty() || count.size() > 19 ||
            count.find_first_not_of("0123456789") != std::string::npos) {
            std::cerr << "sq: --budget needs a number of operations, not '" << count << "'\n";
            return 2;
        }
        budget = std::stoull(count);
        first = 2;
    }
    if (argc <= first) {
        std::cerr << "usage: sq [--budget=N] FILE [ARGS...]\n";
        return 2;
    }
    std::ifstream file(argv[first], std::ios::binary);
    if (!file) {
        std::cerr << "sq: cannot open '" << argv[first] << "'\n";
        return 2;
    }
    std::ostringstream text;
    text << file.rdbuf();

    squirrel::VM vm;
    vm.setOperationBudget(budget);
    try {
        squirrel::Object main = vm.compile(text.str(), argv[first]);
        std::vector<squirrel::Object> args;
        for (int i = first + 1; i < argc; ++i)
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
