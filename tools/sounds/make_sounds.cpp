// Writes the shipped sounds into a folder: make_sounds DIR
#include <fstream>
#include <iostream>

#include "platform/utf8_path.h"
#include "shipped_sounds.h"

int main(int argc, char** argv)
{
    const std::vector<std::string> args = tarvel::utf8Arguments(argc, argv);
    if (args.size() != 2) {
        std::cerr << "uso: make_sounds CARPETA\n";
        return 2;
    }
    for (const auto& sound : tarvel::sounds::makeSounds()) {
        const std::string path = args[1] + "/" + sound.fileName;
        std::ofstream out(tarvel::pathFromUtf8(path), std::ios::binary);
        out << tarvel::sounds::wavBytes(sound.samples);
        if (!out) {
            std::cerr << "No se puede guardar " << path << '\n';
            return 1;
        }
    }
    return 0;
}
