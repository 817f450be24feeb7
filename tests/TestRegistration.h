#pragma once
// Included ahead of every test source of a combined test program (Windows):
// QTEST_MAIN and its variants register the test under its file name instead
// of defining main(); TestRunner.cpp runs the test its first argument names.

#include <QtTest/qtest.h>

using TZeDedeTestMain = int (*)(int argc, char *argv[]);
bool ZeDedeRegisterTest(const char *AName, TZeDedeTestMain AMain);

#undef QTEST_MAIN_WRAPPER
#define QTEST_MAIN_WRAPPER(TestObject, ...)                                          \
    namespace {                                                                      \
    int ZeDedeTestMain(int argc, char *argv[])                                       \
    {                                                                                \
        QT_PREPEND_NAMESPACE(QTest::Internal::callInitMain)<TestObject>();           \
        __VA_ARGS__                                                                  \
        TestObject tc;                                                               \
        QTEST_SET_MAIN_SOURCE_PATH                                                   \
        return QTest::qExec(&tc, argc, argv);                                        \
    }                                                                                \
    const bool ZeDedeTestRegistered = ZeDedeRegisterTest(ZEDEDE_TEST_NAME, &ZeDedeTestMain); \
    }
