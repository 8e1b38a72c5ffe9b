// Running independent pieces of work in child processes, a few at a time,
// with what each printed passed on in the order of the work, as if it had
// run alone. The engine keeps program-wide state (the output stream, the
// codec's tables), so processes rather than threads share the cores.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

// Calls work(i) for every i below count, each in a child process, at most
// `jobs` at once; a child's exit status is what work returns. Everything a
// child writes to standard output and standard error is written there by
// the caller's process once the children before it are done. Returns how
// many children ended with a status other than 0 (or were killed).
// With `passStatus`, what a child writes to ChildStatusFd() goes to
// standard error at once while it is the earliest child still running (a
// progress line redrawn in place); the status of later children is dropped.
int RunInChildren(std::size_t count, unsigned jobs, const std::function<int(std::size_t)>& work,
                  bool passStatus = false);

// Inside a child of RunInChildren, where a progress line may be written;
// -1 elsewhere.
int ChildStatusFd();

// Splits work items of the given sizes, in order, into batches of about the
// same total size, a few per job so that the work evens out and none
// smaller than a process is worth. Returns the index of each batch's first
// item (at least one batch, starting at 0).
std::vector<std::size_t> BatchStarts(const std::vector<std::uint64_t>& sizes, unsigned jobs);

// The number of processors this process may use, at least 1.
unsigned ProcessorCount();
