// Writes the example charts into a folder: make_examples DIR
#include <iostream>

#include "example_charts.h"
#include "flowchart/flow_file.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "uso: make_examples CARPETA\n";
        return 2;
    }
    tarvel::InterfaceSettings settings;  // simulation, numbering from 1
    for (auto& chart : tarvel::examples::makeExampleCharts()) {
        const std::string path = std::string(argv[1]) + "/" + chart.fileName;
        if (tarvel::saveFlowFile(chart.doc, path, settings, nullptr) !=
            tarvel::FlowFileStatus::Ok) {
            std::cerr << "No se puede guardar " << path << '\n';
            return 1;
        }
    }
    return 0;
}
