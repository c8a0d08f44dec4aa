#include "CVideobuff.h"

#include <cstring>

void CVideobuff::FillData(const void* source) { std::memcpy(frame_.data(), source, Frame_Size); }

void CVideobuff::FillBuffer() { frame_.fill(23); }

void CVideobuff::GetData(void* destination) const { std::memcpy(destination, frame_.data(), Frame_Size); }
