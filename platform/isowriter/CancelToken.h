// The caller's cancel flag, looked at between units of work of the long operations.
#pragma once

#include <atomic>

namespace osm::iso {

class CancelToken
{
public:
    void attach(const std::atomic<long>* flag) { flag_ = flag; }
    bool requested() const { return flag_ && flag_->load(std::memory_order_relaxed) != 0; }
    // Throws IsoError(Cancelled) when the flag is set.
    void check() const;

private:
    const std::atomic<long>* flag_ = nullptr;
};

}  // namespace osm::iso
