#pragma once
// A box and the ways it is told to misbehave: never answer, answer a wrong
// acknowledgement, answer random bytes, or stop answering after a number of
// exchanges. What the program sends goes in; what the box answers comes out.

#include <cstdint>
#include <random>
#include <span>
#include <vector>

#include "simulated_box.h"

namespace tarvel::boxes {

struct BoxFaults {
    bool silent = false;    // never answers
    bool wrongAck = false;  // every acknowledgement is another byte
    bool garbage = false;   // every byte it answers is another, at random
    int stopAfter = -1;     // answers nothing after this many exchanges (-1: never stops)
};

class BoxSession {
public:
    BoxSession(SimulatedBox& box, BoxFaults faults);

    std::vector<std::uint8_t> receive(std::span<const std::uint8_t> bytes);
    // What a streaming box sends next (nothing for the others).
    std::vector<std::uint8_t> stream();
    void lineOpened() { box_.lineOpened(); }
    int exchanges() const { return exchanges_; }
    SimulatedBox& box() { return box_; }

private:
    std::vector<std::uint8_t> misbehave(const BoxReply& reply);

    SimulatedBox& box_;
    BoxFaults faults_;
    int exchanges_ = 0;
    // Seeded: the same garbage every time, so a failure repeats.
    std::mt19937 random_{1729};
};

}  // namespace tarvel::boxes
