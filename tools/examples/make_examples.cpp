// Writes the example charts into a folder: make_examples DIR
#include <iostream>

#include "example_charts.h"
#include "flowchart/flow_file.h"
#include "platform/scripted_messages.h"
#include "platform/utf8_path.h"

int main(int argc, char** argv)
{
    const std::vector<std::string> args = tarvel::utf8Arguments(argc, argv);
    if (args.size() != 2) {
        std::cerr << "uso: make_examples CARPETA\n";
        return 2;
    }
    tarvel::InterfaceSettings settings;  // simulation, numbering from 1
    tarvel::ScriptedMessages messages;   // the refusal's own line says enough
    for (auto& chart : tarvel::examples::makeExampleCharts()) {
        const std::string path = args[1] + "/" + chart.fileName;
        if (!tarvel::saveFlowFile(chart.doc, path, settings, messages)) {
            std::cerr << "No se puede guardar " << path << '\n';
            return 1;
        }
    }
    return 0;
}
