#pragma once

// The races of a school network, made certain: work that another computer does the moment this
// program is first kept waiting for its lock. The wait then gives up at once (the statement fails as
// busy, as after the full wait) or goes on until the lock is free. Replaces the connection's wait for
// as long as it lives; the next connection waits as the program does.

#include <functional>

namespace TestDoubles {

class WhenKeptWaiting {
public:
    enum class Then { GiveUp, WaitOn };
    WhenKeptWaiting(std::function<void()> work, Then then);
    ~WhenKeptWaiting();
    WhenKeptWaiting(const WhenKeptWaiting&) = delete;
    WhenKeptWaiting& operator=(const WhenKeptWaiting&) = delete;

    // How many times this program was kept waiting.
    int waits() const { return waits_; }

private:
    static int handler(void* self, int count);

    std::function<void()> work_;
    Then then_;
    int waits_ = 0;
    bool done_ = false;
};

} // namespace TestDoubles
