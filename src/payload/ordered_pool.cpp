#include "payload/ordered_pool.h"

#include <chrono>

namespace kindrel {

TOrderedPool::TOrderedPool(int threadCount) : m_workers(threadCount > 1 ? threadCount : 1) {
    if (threadCount <= 1) return;
    m_threads.reserve(static_cast<size_t>(threadCount));
    for (int w = 0; w < threadCount; ++w) m_threads.emplace_back([this, w] { WorkerLoop(w); });
}

TOrderedPool::~TOrderedPool() {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stop = true;
        m_queue.clear();
    }
    m_workReady.notify_all();
    for (std::thread& t : m_threads) t.join();
}

int64_t TOrderedPool::Post(std::function<void(int worker)> job) {
    int64_t seq;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        seq = m_nextSeq++;
        m_queue.push_back(Job{seq, std::move(job)});
    }
    m_workReady.notify_one();
    return seq;
}

std::exception_ptr TOrderedPool::RunJob(Job& job, int worker) {
    try {
        job.run(worker);
    } catch (...) {
        return std::current_exception();
    }
    return nullptr;
}

void TOrderedPool::WorkerLoop(int worker) {
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        m_workReady.wait(lock, [this] { return m_stop || !m_queue.empty(); });
        if (m_stop) return;
        Job job = std::move(m_queue.front());
        m_queue.pop_front();
        lock.unlock();
        std::exception_ptr error = RunJob(job, worker);
        lock.lock();
        m_done.emplace(job.seq, std::move(error));
        m_jobDone.notify_all();
    }
}

void TOrderedPool::Wait(int64_t seq, const std::function<void()>& idle) {
    std::unique_lock<std::mutex> lock(m_mutex);
    if (m_threads.empty()) {
        // No workers: run the queued jobs up to seq here, in order.
        while (m_done.find(seq) == m_done.end() && !m_queue.empty()) {
            Job job = std::move(m_queue.front());
            m_queue.pop_front();
            lock.unlock();
            std::exception_ptr error = RunJob(job, 0);
            lock.lock();
            m_done.emplace(job.seq, std::move(error));
        }
    }
    for (;;) {
        auto it = m_done.find(seq);
        if (it != m_done.end()) {
            std::exception_ptr error = std::move(it->second);
            m_done.erase(it);
            lock.unlock();
            if (error) std::rethrow_exception(error);
            return;
        }
        if (m_threads.empty()) return;  // seq was never posted
        if (!m_jobDone.wait_for(lock, std::chrono::milliseconds(50),
                                [&] { return m_done.count(seq) != 0; }) &&
            idle) {
            lock.unlock();
            idle();
            lock.lock();
        }
    }
}

}  // namespace kindrel
