#pragma once

namespace tavro {

// Single-instance check: tryAcquire() is false while another instance of the program runs.
class InstanceGuard {
public:
    virtual ~InstanceGuard() = default;
    virtual bool tryAcquire() = 0;
    virtual void release() = 0;
};

} // namespace tavro
