// Worker threads whose jobs the caller collects one by one in the order it posted them.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <exception>
#include <functional>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

namespace kindrel {

// Runs posted jobs on threadCount worker threads; with threadCount <= 1 there are no threads
// and Wait runs the jobs on the caller's thread. Each job gets the number of the worker that
// runs it (0..Workers()-1), so it can use per-worker state without locks.
class TOrderedPool {
  public:
    // Starts the workers.
    explicit TOrderedPool(int threadCount);
    // Drops the jobs not yet started and waits for the running ones.
    ~TOrderedPool();
    TOrderedPool(const TOrderedPool&) = delete;
    TOrderedPool& operator=(const TOrderedPool&) = delete;

    // Number of workers, at least 1.
    int Workers() const { return m_workers; }
    // Queues a job; answers its sequence number (0, 1, 2, ... in posting order).
    int64_t Post(std::function<void(int worker)> job);
    // Waits until job seq has run and rethrows what it threw. idle (may be empty) is called on
    // this thread about every 50 ms meanwhile.
    void Wait(int64_t seq, const std::function<void()>& idle);

  private:
    struct Job {
        int64_t seq;
        std::function<void(int)> run;
    };
    void WorkerLoop(int worker);
    static std::exception_ptr RunJob(Job& job, int worker);

    int m_workers;
    std::mutex m_mutex;
    std::condition_variable m_workReady;
    std::condition_variable m_jobDone;
    std::deque<Job> m_queue;
    std::map<int64_t, std::exception_ptr> m_done;
    int64_t m_nextSeq = 0;
    bool m_stop = false;
    std::vector<std::thread> m_threads;
};

}  // namespace kindrel
