#pragma once
// The board behind an interface kit: what it reports (attached, serial number, inputs, outputs) and the
// changes it announces. Every board runs on the user-interface thread, so its events arrive there.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace controlbox {

class Kit_board {
public:
    class Listener {
    public:
        virtual void Board_Attached() = 0;
        virtual void Board_Detached() = 0;
        virtual void Board_Input_Changed(int32_t index, bool state) = 0;

    protected:
        ~Listener() = default;
    };

    virtual ~Kit_board() = default;
    // Starts watching the board for a listener just added: it hears an attach at once when the board is
    // there, and whenever it becomes so later.
    virtual void Open(Listener* opener) = 0;
    virtual bool Attached() const = 0;
    virtual int32_t Serial_Number() const = 0;
    virtual int32_t Input_Count() const = 0;
    virtual int32_t Output_Count() const = 0;
    virtual bool Input(int32_t index) const = 0;
    virtual bool Output(int32_t index) const = 0;
    // False when the board did not take the value.
    virtual bool Set_Output(int32_t index, bool state) = 0;
    // Why a board that should be there is not (a port that cannot be opened or went away); "" otherwise.
    virtual std::string Fault() const { return {}; }

    void Add_Listener(Listener* listener) { listeners_.push_back(listener); }
    void Remove_Listener(Listener* listener) {
        listeners_.erase(std::remove(listeners_.begin(), listeners_.end(), listener), listeners_.end());
    }

protected:
    // A listener may remove itself (or another) while it hears an event: each hears from a copy.
    void Raise_Attached() {
        for (Listener* l : Copy()) if (Listening(l)) l->Board_Attached();
    }
    void Raise_Detached() {
        for (Listener* l : Copy()) if (Listening(l)) l->Board_Detached();
    }
    void Raise_Input_Changed(int32_t index, bool state) {
        for (Listener* l : Copy()) if (Listening(l)) l->Board_Input_Changed(index, state);
    }

private:
    std::vector<Listener*> Copy() const { return listeners_; }
    bool Listening(Listener* l) const { return std::find(listeners_.begin(), listeners_.end(), l) != listeners_.end(); }
    std::vector<Listener*> listeners_;
};

}  // namespace controlbox
