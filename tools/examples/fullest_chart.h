#pragma once
// The fullest chart the tables hold: 220 symbols with two-line captions, 400
// lines of seven points with their arrows and tags, 100 labels of the three
// sizes, every seventh symbol and ninth label selected. The benchmarks time
// painting it; the tests compare its pixels.

#include "flowchart/flow_document.h"

namespace tarvel::examples {

void fillFullestChart(FlowDocument& doc);

}  // namespace tarvel::examples
