// The list of the jobs of our child trees.
#include "process/child_jobs.h"

#include <algorithm>
#include <mutex>
#include <vector>

namespace quill {

namespace {

struct ChildJobs {
    std::mutex mutex;
    std::vector<HANDLE> jobs;
    bool refused = false;
};

ChildJobs &childJobs() {
    static ChildJobs jobs;
    return jobs;
}

} // namespace

bool listChildJob(HANDLE job) {
    ChildJobs &list = childJobs();
    std::lock_guard<std::mutex> lock(list.mutex);
    if (list.refused)
        return false;
    list.jobs.push_back(job);
    return true;
}

void unlistChildJob(HANDLE job) {
    ChildJobs &list = childJobs();
    std::lock_guard<std::mutex> lock(list.mutex);
    list.jobs.erase(std::remove(list.jobs.begin(), list.jobs.end(), job), list.jobs.end());
}

bool childStartsAllowed() {
    ChildJobs &list = childJobs();
    std::lock_guard<std::mutex> lock(list.mutex);
    return !list.refused;
}

void endEveryChildTree() {
    ChildJobs &list = childJobs();
    std::lock_guard<std::mutex> lock(list.mutex);
    list.refused = true;
    // Still open: a job leaves the list before its owner closes it.
    for (HANDLE job : list.jobs)
        TerminateJobObject(job, 1);
}

void allowChildStarts() {
    ChildJobs &list = childJobs();
    std::lock_guard<std::mutex> lock(list.mutex);
    list.refused = false;
}

} // namespace quill
