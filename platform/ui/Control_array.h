#pragma once
// Controls that share one name and differ by index, as the windows index them. Not owned: Qt parents
// the controls.
#include "platform/vb/VbError.h"

#include <cstdint>
#include <map>
#include <string>

namespace ui {

template <class Control>
class Control_array {
public:
    void Load(int32_t index, Control* control) { items_[index] = control; }
    void Unload(int32_t index) { items_.erase(index); }
    bool Exists(int32_t index) const { return items_.count(index) != 0; }

    // Error 340 for an index that holds no control.
    Control& operator()(int32_t index) const {
        auto it = items_.find(index);
        if (it == items_.end())
            vb::Raise(340, "Control array element '" + std::to_string(index) + "' doesn't exist");
        return *it->second;
    }

    int32_t Count() const { return static_cast<int32_t>(items_.size()); }
    // Error 9 when the array is empty.
    int32_t LBound() const {
        if (items_.empty()) vb::Raise(vb::Err_Subscript);
        return items_.begin()->first;
    }
    int32_t UBound() const {
        if (items_.empty()) vb::Raise(vb::Err_Subscript);
        return items_.rbegin()->first;
    }

    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

private:
    std::map<int32_t, Control*> items_;
};

}  // namespace ui
