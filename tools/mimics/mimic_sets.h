#pragma once
// The mimic sets that ship in data/MIMICS: each set's objects and links as
// its definition file holds them, and where each of its pictures is cut from
// a drawing of the whole scene. The drawings themselves are made by
// make_mimics (with Qt); this part needs only the core, so tests can check
// the shipped definition files against it.

#include <string>
#include <vector>

#include "mimic_layout.h"
#include "mimics/mimic_set.h"

namespace tarvel::mimicsets {

// A picture of a set: the scene drawn in one variant, cut at an object's box.
struct PictureCut {
    std::string file;  // e.g. "FARO_LAMPARA1.BMP"
    int variant = 0;
    Box area{0, 0, kMimicWidth, kMimicHeight};
};

struct ShippedSet {
    std::string name;  // the definition file's name, at most 10 characters
    MimicSet set;      // as its file holds it
    std::vector<PictureCut> pictures;
};

std::vector<ShippedSet> shippedSets();

}  // namespace tarvel::mimicsets
