// main() of a combined test program: runs the registered test named by the
// first argument with the remaining arguments, as its own program would.

#include "RegularExpressions.h"

#include <cstdio>
#include <cstring>
#include <map>
#include <string>

using TZeDedeTestMain = int (*)(int argc, char *argv[]);

namespace {
std::map<std::string, TZeDedeTestMain> &Tests()
{
    static std::map<std::string, TZeDedeTestMain> tests;
    return tests;
}
} // namespace

bool ZeDedeRegisterTest(const char *AName, TZeDedeTestMain AMain)
{
    Tests()[AName] = AMain;
    return true;
}

int main(int argc, char *argv[])
{
    // As the programs do.
    PrepareRegularExpressions();
    const auto it = argc > 1 ? Tests().find(argv[1]) : Tests().end();
    if (it == Tests().end()) {
        std::fprintf(stderr, "usage: %s <test> [QtTest options]\ntests:", argv[0]);
        for (const auto &t : Tests())
            std::fprintf(stderr, " %s", t.first.c_str());
        std::fprintf(stderr, "\n");
        return 2;
    }
    // The test sees the program name followed by its own options.
    argv[1] = argv[0];
    return it->second(argc - 1, argv + 1);
}
