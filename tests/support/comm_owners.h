// Owners of a CComm for tests and benchmarks: one that handles frames at once on the reader's
// thread, one that queues them for the test thread as a UI thread would.
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "comm/comm.h"

// Handles every frame inside PostCommFrame; for framers driven directly by a test.
class InlineOwner : public CCommOwner {
public:
    explicit InlineOwner(CComm& comm, bool rearm = true) : m_comm(comm), m_rearm(rearm) {}
    void PostCommFrame(int) override
    {
        ++delivered;
        if (keepFrames) frames.emplace_back(m_comm.m_frame, static_cast<std::size_t>(m_comm.m_nFrameLen));
        if (m_rearm) m_comm.RearmFramer();
    }
    void PostCommError(int, const OperatorMessage& error) override { errors.push_back(error.korean); }
    void ShowCommError(const OperatorMessage& error) override { errors.push_back(error.korean); }

    bool keepFrames = true;  // benchmarks only count
    long delivered = 0;
    std::vector<std::string> frames;
    std::vector<std::string> errors;

private:
    CComm& m_comm;
    bool m_rearm;
};

// The reader posts, the test thread handles: NextFrame plays the UI thread's event handler.
class QueueOwner : public CCommOwner {
public:
    explicit QueueOwner(CComm& comm) : m_comm(comm) {}

    void PostCommFrame(int port) override
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_posted.push_back(port);
        m_changed.notify_all();
    }
    void PostCommError(int, const OperatorMessage& error) override
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_errors.push_back(error.korean + " / " + error.english);
        m_changed.notify_all();
    }
    void ShowCommError(const OperatorMessage& error) override
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_shown.push_back(error.korean + " / " + error.english);
    }

    // The next frame's text, copied out of m_frame; re-arms the framer unless told not to.
    // Empty optional after `timeout` (the generous default only matters when a test fails).
    std::optional<std::string> NextFrame(bool rearm = true, std::chrono::seconds timeout = std::chrono::seconds(20))
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        if (!m_changed.wait_for(lock, timeout, [this] { return !m_posted.empty(); })) return std::nullopt;
        m_posted.pop_front();
        lock.unlock();
        std::string frame(m_comm.m_frame, static_cast<std::size_t>(m_comm.m_nFrameLen));
        if (rearm) m_comm.RearmFramer();
        return frame;
    }

    std::optional<std::string> NextError(std::chrono::seconds timeout = std::chrono::seconds(20))
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        if (!m_changed.wait_for(lock, timeout, [this] { return !m_errors.empty(); })) return std::nullopt;
        std::string error = m_errors.front();
        m_errors.pop_front();
        return error;
    }

    std::vector<std::string> Shown()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_shown;
    }

    std::size_t PendingFrames()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_posted.size();
    }

private:
    CComm& m_comm;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<int> m_posted;
    std::deque<std::string> m_errors;
    std::vector<std::string> m_shown;
};
