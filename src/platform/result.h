#pragma once
// What a reader gives back: the value it read, or the refusal with the message
// the program shows for it. Readers never touch the program's state, so a
// caller replaces its data only when it holds a value, and a damaged file
// leaves everything as it was.
//
// The shape of every file format:
//   parseX(bytes) -> Result<X>           pure: the value or the refusal
//   serializeX(const X&) -> bytes        pure
//   loadX(path, Messages&) / saveX(path, X, Messages&)
//                                        the I/O (atomic save) and the message

#include <string>
#include <utility>
#include <variant>

#include "platform/messages.h"

namespace tarvel {

// A refused read or write: the caption and text of the box that says why.
struct Refusal {
    std::string caption;
    std::string text;
    MsgIcon icon = MsgIcon::Exclamation;

    // Shows the refusal in its box.
    void show(Messages& messages) const { messages.tell(caption, text, icon); }
};

template <class T>
class [[nodiscard]] Result {
public:
    Result(T value) : state_(std::in_place_index<0>, std::move(value)) {}
    Result(Refusal refusal) : state_(std::in_place_index<1>, std::move(refusal)) {}

    bool ok() const { return state_.index() == 0; }
    explicit operator bool() const { return ok(); }

    const T& value() const& { return std::get<0>(state_); }
    T& value() & { return std::get<0>(state_); }
    T&& value() && { return std::get<0>(std::move(state_)); }
    const T* operator->() const { return &value(); }
    T* operator->() { return &value(); }

    const Refusal& refusal() const { return std::get<1>(state_); }

private:
    std::variant<T, Refusal> state_;
};

// For operations that give nothing back but may be refused (a save).
struct Done {};
using Status = Result<Done>;
inline Status done()
{
    return Done{};
}

}  // namespace tarvel
