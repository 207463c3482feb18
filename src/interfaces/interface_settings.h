#pragma once
// The interface record: which control interface is in use and how its inputs
// and outputs are numbered. Saved in each flowchart's header and in the
// program's configuration file.

namespace tarvel {

struct InterfaceSettings {
    int highLow = 0;    // 0 not applicable, 1 high, 2 low (inputs inverted when 1)
    int numbering = 1;  // 2: inputs and outputs numbered from 0; otherwise from 1
    int analogueSource = 0;
    int mode = 0;   // 0 no interface, 1 an interface
    int model = 0;  // the interface model code
    int port = 0;   // 0..5 for COM1..COM6, -1 for USB
    int motorOption = 0;
    int subModel = 0;

    bool numbersFromZero() const { return numbering == 2; }
    friend bool operator==(const InterfaceSettings&, const InterfaceSettings&) = default;
};

inline bool numberingFromZero(int numbering)
{
    return numbering == 2;
}

}  // namespace tarvel
