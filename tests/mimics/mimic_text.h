#pragma once
// Writes mimic definition files for tests: objects and links are added by
// index, everything else is -1, and the text comes out in the file's layout.

#include <array>
#include <string>
#include <vector>

namespace tarvel::test {

class MimicText {
public:
    MimicText() { clearLinks(); }

    std::vector<std::string> pictures;
    std::vector<std::string> objects;  // whole lines without their line end
    std::array<std::array<int, 3>, 8> inputs{};
    std::array<std::array<int, 3>, 8> outputs{};
    std::array<std::array<int, 2>, 4> values{};
    std::array<std::array<int, 4>, 4> motors{};
    std::array<int, 8> variables{};
    std::string eol = "\r\n";

    // Adds an object line; returns its index.
    int object(int l, int t, int r, int b, int flags, const std::string& t0,
               const std::string& t1 = "-1", const std::string& t2 = "-1",
               const std::string& t3 = "-1")
    {
        objects.push_back(std::to_string(l) + "," + std::to_string(t) + "," + std::to_string(r) +
                          "," + std::to_string(b) + "," + std::to_string(flags) + "," + t0 + "," +
                          t1 + "," + t2 + "," + t3 + ";");
        return static_cast<int>(objects.size()) - 1;
    }

    void clearLinks()
    {
        for (auto& r : inputs) r.fill(-1);
        for (auto& r : outputs) r.fill(-1);
        for (auto& r : values) r.fill(-1);
        for (auto& r : motors) r.fill(-1);
        variables.fill(-1);
    }

    std::string str() const
    {
        std::string s =
            std::to_string(objects.size()) + ";" + std::to_string(pictures.size()) + ";" + eol;
        for (const auto& p : pictures) s += p + ";";
        s += eol;
        for (const auto& o : objects) s += o + eol;
        auto row = [&](const auto& r) {
            for (std::size_t k = 0; k < r.size(); ++k)
                s += std::to_string(r[k]) + (k + 1 < r.size() ? "," : ";");
            s += eol;
        };
        for (const auto& r : inputs) row(r);
        for (const auto& r : outputs) row(r);
        for (const auto& r : values) row(r);
        for (const auto& r : motors) row(r);
        for (const int v : variables) row(std::array<int, 1>{v});
        return s;
    }
};

}  // namespace tarvel::test
