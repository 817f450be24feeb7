#pragma once
// Loads the system's font configuration on a thread of its own while the
// program goes on starting up; the first font the toolkit asks for then
// finds it ready instead of parsing it on the user-interface thread.

#include <thread>

class TFontWarmUp
{
public:
    TFontWarmUp();
    ~TFontWarmUp();
    TFontWarmUp(const TFontWarmUp &) = delete;
    TFontWarmUp &operator=(const TFontWarmUp &) = delete;

    // Waits until the configuration is loaded; later calls return at once.
    void Wait();

private:
    std::thread FThread;
};
