// The caller's progress callback; silent when none was given.
#pragma once

#include <cstdint>
#include <functional>

namespace osm::iso {

class ProgressSink
{
public:
    using Function = std::function<void(std::uint32_t event, std::uint32_t value)>;

    ProgressSink() = default;
    explicit ProgressSink(Function function) : function_(std::move(function)) {}

    void notify(std::uint32_t event, std::uint32_t value) const
    {
        if (function_)
            function_(event, value);
    }

private:
    Function function_;
};

}  // namespace osm::iso
