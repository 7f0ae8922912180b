#pragma once

#include <condition_variable>
#include <mutex>
#include <thread>

namespace zelvo {

// Reads what the first text needs on a second thread while the main one starts up: the
// desktop's font configuration while the application object connects to the display, then
// Qt's list of installed fonts while the windows are built. Qt's font database is safe to use
// from any thread; the main thread's first text waits on its lock if the list is not read yet.
class FontReadAhead
{
public:
    FontReadAhead();
    // Waits for the reading to end.
    ~FontReadAhead();
    FontReadAhead(const FontReadAhead&) = delete;
    FontReadAhead& operator=(const FontReadAhead&) = delete;

    // The application object exists: Qt's font list may be read.
    void applicationStarted();
    // Waits for the reading to end; without applicationStarted(), Qt's list is left unread.
    void wait();

private:
    enum class Step { Configuration, FontList, Stop };
    void run();

    std::mutex m_lock;
    std::condition_variable m_changed;
    Step m_step = Step::Configuration;
    std::thread m_reading;
};

} // namespace zelvo
