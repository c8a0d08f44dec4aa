#pragma once
// A snapshot of the processor and the memory layout, taken when the object is made.
#include <cstdint>

class Class_CPUInfo {
public:
    Class_CPUInfo();

    int32_t ProcessorType() const { return processor_type_; }
    int32_t NumberOrfProcessors() const { return processors_; }
    // Addresses and the processor mask are as wide as this system's: 32 bits cannot hold them.
    uint64_t MaximumApplicationAddress() const { return maximum_address_; }
    uint64_t MinimumApplicationAddress() const { return minimum_address_; }
    int32_t PageSize() const { return page_size_; }
    // The architecture word, with the reserved word (0) above it.
    int32_t OemID() const { return oem_id_; }
    // The processor level, with the revision above it.
    int32_t Reserved() const { return reserved_; }
    int32_t AllocationGranularity() const { return allocation_granularity_; }
    uint64_t ActiveProcessorMask() const { return active_mask_; }
    // The first processor's clock in MHz from the registry value "~MHz"; 0 when it is missing.
    int32_t GetCPUSpeed() const;

private:
    int32_t processor_type_;
    int32_t processors_;
    uint64_t maximum_address_;
    uint64_t minimum_address_;
    int32_t page_size_;
    int32_t oem_id_;
    int32_t reserved_;
    int32_t allocation_granularity_;
    uint64_t active_mask_;
};
