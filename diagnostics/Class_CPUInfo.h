#pragma once
// A snapshot of the processor, taken when the object is made.
#include <cstdint>

class Class_CPUInfo {
public:
    Class_CPUInfo();

    int32_t ProcessorType() const { return processor_type_; }
    int32_t NumberOrfProcessors() const { return processors_; }
    // The first processor's clock in MHz from the registry value "~MHz"; 0 when it is missing.
    int32_t GetCPUSpeed() const;

private:
    int32_t processor_type_;
    int32_t processors_;
};
