// `tarvel download` against `tarvel box` over a real pseudo-terminal: the
// image the box stored is the one `tarvel compile` gives, the progress lines,
// and every error number the box's misbehaviours bring, in the words the
// window shows.

#include <gtest/gtest.h>

#include <chrono>

#include "engine/chart_builder.h"
#include "flowchart/flow_file.h"
#include "interfaces/interface_model.h"
#include "support/box_process.h"
#include "support/fake_messages.h"
#include "support/temp_dir.h"
#include "support/tool_run.h"

namespace tarvel {
namespace {

using test::BoxProcess;
using test::ToolRun;

constexpr const char* kRunLimitS = "120";

class ToolDownload : public ::testing::Test {
protected:
    test::TempDir dir;
    double seconds = 0;

    // Lamp 1 on, a second, lamp 1 off: a chart every chip takes.
    std::string chart()
    {
        FlowDocument doc;
        test::ChartBuilder c(doc);
        c.chain({c.start(), c.out("Turn Output 1 on"), c.proc("Delay 1"),
                 c.out("Turn Output 1 off"), c.stop()});
        InterfaceSettings s;
        s.mode = 1;
        s.model = ModelTolvaChip;
        s.numbering = 1;
        const std::string path = (dir.path() / "LAMPARA.FLO").string();
        EXPECT_TRUE(saveFlowFile(doc, path, s, test::ignoredMessages()));
        return path;
    }

    ToolRun download(const std::string& model, const std::string& device)
    {
        const std::vector<std::string> args{kRunLimitS, TARVEL_TOOL_PATH, "download", "--model",
                                            model,      "--port",         device,     chart()};
        const auto begin = std::chrono::steady_clock::now();
        ToolRun r = test::runTool("timeout", args, dir.path());
        seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
        return r;
    }

    // The image as `tarvel compile` prints it, in hexadecimal.
    std::string compiledHex(const std::string& model)
    {
        const ToolRun r =
            test::runTool(TARVEL_TOOL_PATH, {"compile", "--model", model, chart()}, dir.path());
        const std::string key = "\"image\": \"";
        const std::size_t at = r.out.find(key);
        if (at == std::string::npos) return {};
        const std::size_t from = at + key.size();
        return r.out.substr(from, r.out.find('"', from) - from);
    }
};

TEST_F(ToolDownload, BoxStoresTheCompiledImage)
{
    for (const std::string model : {"10", "10:3"}) {
        SCOPED_TRACE(model);
        BoxProcess box(TARVEL_TOOL_PATH, {model});
        ASSERT_FALSE(box.device().empty());
        const ToolRun r = download(model, box.device());
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.err, "");
        // Not a terminal: a line for every tenth, then the end.
        EXPECT_EQ(r.out,
                  "10 %\n20 %\n30 %\n40 %\n50 %\n60 %\n70 %\n80 %\n90 %\n100 %\n"
                  "Se terminó el descargue\n");
        const std::string hex = compiledHex(model);
        const std::string size = model == "10" ? "256" : "128";
        ASSERT_EQ(hex.size(), 2 * std::stoul(size));
        EXPECT_EQ(box.readLines(5000, 1), std::vector<std::string>{"download " + size + " " + hex});
        // No faster than a byte every 25 ms.
        EXPECT_GE(seconds, (std::stoi(size) - 1) * 0.025);
        std::cout << "[ measured ] " << size << "-byte download over a pseudo-terminal: " << seconds
                  << " s\n";
    }
}

TEST_F(ToolDownload, EveryMisbehaviourEndsInItsNumber)
{
    const std::string chip =
        "No se conectó a TolvaChip PIC Downloader - verifique la conexión y la tarjeta de memoria "
        "e intente de nuevo (Error número ";
    const std::string quillo =
        "No se pudo conectar a Quillo - verifique la conexión (Error número ";
    const struct {
        std::vector<std::string> box;
        std::string model;
        std::string message;
    } cases[] = {
        {{"10", "--silent"}, "10", chip + "300)"},
        {{"10", "--wrong-address", "31"}, "10", chip + "71f)"},
        {{"10", "--stop-after", "1"}, "10", chip + "700)"},
        {{"13", "--wrong-byte", "16"}, "13", quillo + "810)"},
        {{"10:3", "--chip-byte", "40"},
         "10:3",
         "El dispositivo conectado no es un VIZO18.  Porfavor conecte a VIZO18 o la "
         "configuración apropiada."},
        {{"13", "--running", "9"},
         "13",
         "No se pudo conectar a Quillo/Vizo/Tolva Chip.  Si el interfaz está ejecutando un "
         "programa descargada, páralo y escoja 'Aceptar'. Si no, escoja 'Cancelar', pruebe la "
         "conexión y trate de nuevo."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.box[1]);
        BoxProcess box(TARVEL_TOOL_PATH, c.box);
        ASSERT_FALSE(box.device().empty());
        const ToolRun r = download(c.model, box.device());
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.err, c.message + "\n");
        EXPECT_EQ(r.out.find("Se terminó"), std::string::npos);
        EXPECT_LT(seconds, 15.0);
    }

    const ToolRun r = download("10", (dir.path() / "no-such-port").string());
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err,
              "No se conectó a Tolva Chip PIC Downloader - verifique la conexión y la tarjeta de "
              "memoria e intente de nuevo (Error número F00)\n");
}

TEST_F(ToolDownload, RefusesInterfacesThatTakeNoPrograms)
{
    const ToolRun r = download("7", "/dev/null");
    EXPECT_EQ(r.status, 1);
    EXPECT_FALSE(r.err.empty());
    EXPECT_EQ(test::runTool(TARVEL_TOOL_PATH, {"download", chart()}, dir.path()).status, 2);
}

}  // namespace
}  // namespace tarvel
