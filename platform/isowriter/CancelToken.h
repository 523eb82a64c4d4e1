// The caller's cancel flag, looked at between units of work of the long operations.
#pragma once

namespace osm::iso {

class CancelToken {
public:
    void attach(const volatile long* flag) { flag_ = flag; }
    bool requested() const { return flag_ && *flag_ != 0; }
    // Throws IsoError(Cancelled) when the flag is set.
    void check() const;

private:
    const volatile long* flag_ = nullptr;
};

} // namespace osm::iso
