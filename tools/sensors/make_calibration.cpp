// Writes the shipped calibration files into a sensors folder:
// make_calibration DIR (the files go to DIR/DSI, DIR/SAC, ...).
#include <filesystem>
#include <iostream>

#include "calibration_sets.h"
#include "platform/file_io.h"
#include "platform/utf8_path.h"

int main(int argc, char** argv)
{
    const std::vector<std::string> args = tarvel::utf8Arguments(argc, argv);
    if (args.size() != 2) {
        std::cerr << "uso: make_calibration CARPETA\n";
        return 2;
    }
    for (const auto& file : tarvel::sensorsets::makeCalibrationSets()) {
        const std::string folder = args[1] + "/" + file.folder;
        std::error_code ec;
        std::filesystem::create_directories(tarvel::pathFromUtf8(folder), ec);
        const std::string path = folder + "/" + file.fileName;
        if (tarvel::writeFileReplacing(path, file.bytes) != tarvel::WriteResult::Ok) {
            std::cerr << "No se puede guardar " << path << '\n';
            return 1;
        }
    }
    return 0;
}
