// Every save of the program on a full disk (a file-size limit stands in for
// one) and in a folder the user may not write: the old file stays as it was,
// no temporary file is left behind, the user is told in Spanish, and what was
// to be saved still counts as unsaved.

#include <gtest/gtest.h>

#ifndef _WIN32

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "datalog/capture_files.h"
#include "engine/program_state.h"
#include "flowchart/flow_document.h"
#include "flowchart/flow_file.h"
#include "interfaces/interface_config.h"
#include "interfaces/interface_model.h"
#include "platform/file_io.h"
#include "platform/utf8_path.h"
#include "support/fake_clock.h"
#include "support/fake_messages.h"
#include "support/fault_child.h"
#include "support/temp_dir.h"

namespace tarvel {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kOld = "contenido anterior";
// Far less than any chart or data file, more than the old file.
constexpr long kFullDisk = 24;

// What the child saw, as bits of its exit code.
enum Seen : int {
    Refused = 1,        // the save reported failure
    ToldTheUser = 2,    // exactly one box, with the expected text
    StillUnsaved = 4,   // the document or capture still counts as unsaved
    PathUnchanged = 8,  // the document still names the file it had
};
constexpr int kCleanFailure = Refused | ToldTheUser | StillUnsaved | PathUnchanged;

std::string contents(const fs::path& path)
{
    std::string bytes;
    readWholeFile(utf8FromPath(path), bytes);
    return bytes;
}

std::vector<std::string> names(const fs::path& dir)
{
    std::vector<std::string> all;
    for (const auto& entry : fs::directory_iterator(dir))
        all.push_back(utf8FromPath(entry.path().filename()));
    std::sort(all.begin(), all.end());
    return all;
}

int toldOnce(const test::FakeMessages& messages, std::string_view text)
{
    return messages.shown.size() == 1 && messages.last().text == text ? ToldTheUser : 0;
}

// How the old file is placed: alone, with a second name (rewritten in place),
// or not there at all.
enum class OldFile { Alone, HardLinked, None };

class SaveFaults : public ::testing::TestWithParam<OldFile> {
protected:
    test::TempDir dir;

    fs::path prepare(const char* name, std::string_view old = kOld)
    {
        const fs::path file = dir.path() / name;
        if (GetParam() == OldFile::None) return file;
        std::ofstream(file, std::ios::binary) << old;
        if (GetParam() == OldFile::HardLinked) fs::create_hard_link(file, secondName(file));
        return file;
    }
    static fs::path secondName(const fs::path& file)
    {
        fs::path second = file;
        second += "-copia";
        return second;
    }
    void expectOldFileKept(const fs::path& file, const std::vector<std::string>& before,
                           std::string_view old = kOld)
    {
        if (GetParam() == OldFile::None) {
            EXPECT_FALSE(fs::exists(file));
        } else {
            EXPECT_EQ(contents(file), old);
        }
        if (GetParam() == OldFile::HardLinked) {
            EXPECT_EQ(contents(secondName(file)), old);
        }
        EXPECT_EQ(names(dir.path()), before);  // no temporary file left
    }
};

InterfaceSettings deltronics()
{
    InterfaceSettings s;
    s.mode = 1;
    s.model = ModelDeltronics;
    return s;
}

int saveChart(const fs::path& file, const std::string& previousPath)
{
    test::FakeMessages messages;
    FlowDocument doc(&messages);
    doc.setSymbolText(doc.appendSymbol(SymbolKind::StartStop, {320, 84}), "Start");
    doc.setSymbolText(doc.appendSymbol(SymbolKind::Output, {320, 168}), "Turn Output 1 on");
    doc.setPath(previousPath);
    doc.setModified();
    const bool ok = saveFlowFile(doc, utf8FromPath(file), deltronics(), messages).ok();
    const bool opened =
        messages.shown.size() == 1 && messages.last().text == "No se puede abrir archivo";
    return (ok ? 0 : Refused) |
           (toldOnce(messages,
                     "No se puede guardar el archivo. El archivo anterior queda como estaba") ||
                    opened
                ? ToldTheUser
                : 0) |
           (doc.modified() ? StillUnsaved : 0) | (doc.path() == previousPath ? PathUnchanged : 0);
}

// A capture of a few samples, saved as `kind`.
int saveCapture(const fs::path& file, DataFileKind kind)
{
    test::FakeMessages messages;
    test::FakeClock clock;
    ProgramState state{messages, clock};
    state.capture.start();
    for (int i = 0; i < 5; ++i) {
        clock.advance(100);
        state.capture.samplingStep();
    }
    const bool ok =
        saveCaptureFile(utf8FromPath(file), kind, state.capture, state.sensors, false, messages)
            .ok();
    const std::string_view text =
        kind == DataFileKind::Sid ? "No se puede abrir archivo" : "Error guardando archivo";
    return (ok ? 0 : Refused) | toldOnce(messages, text) |
           (state.capture.holdsUnsavedData() ? StillUnsaved : 0) | PathUnchanged;
}

int saveConfiguration(const fs::path& file)
{
    test::FakeMessages messages;
    const bool ok = saveInterfaceConfig(utf8FromPath(file), deltronics(), messages).ok();
    return (ok ? 0 : Refused) | toldOnce(messages, "No se puede guardar Configuración") |
           StillUnsaved | PathUnchanged;
}

TEST_P(SaveFaults, AChartOnAFullDiskLeavesTheOldFileAndTheDocumentUnsaved)
{
    const fs::path file = prepare("FARO.FLO");
    const auto before = names(dir.path());
    EXPECT_EQ(test::runInChild({.fileSizeLimit = kFullDisk},
                               [&] { return saveChart(file, "/antes/FARO.FLO"); }),
              kCleanFailure);
    expectOldFileKept(file, before);
}

TEST_P(SaveFaults, DataFilesAndExportsOnAFullDiskLeaveTheOldFile)
{
    for (const auto& [name, kind] :
         {std::pair{"DATOS.SID", DataFileKind::Sid}, std::pair{"DATOS.CSV", DataFileKind::Csv},
          std::pair{"DATOS.TSV", DataFileKind::Tsv}}) {
        const fs::path file = prepare(name);
        const auto before = names(dir.path());
        // An export never clears the unsaved flag; a refused SID file must not either.
        EXPECT_EQ(
            test::runInChild({.fileSizeLimit = kFullDisk}, [&] { return saveCapture(file, kind); }),
            kCleanFailure)
            << name;
        expectOldFileKept(file, before);
    }
}

TEST_P(SaveFaults, TheConfigurationOnAFullDiskLeavesTheOldRecord)
{
    // The record is eight bytes; the old file, short, fitted on the disk.
    const fs::path file = prepare("CONFIGUR.FCF", "CBA");
    const auto before = names(dir.path());
    EXPECT_EQ(test::runInChild({.fileSizeLimit = 5}, [&] { return saveConfiguration(file); }),
              kCleanFailure);
    expectOldFileKept(file, before, "CBA");
}

TEST_P(SaveFaults, AReadOnlyFolderRefusesEverySaveAndChangesNothing)
{
    const fs::path chart = prepare("FARO.FLO");
    const fs::path data = prepare("DATOS.SID");
    const fs::path csv = prepare("DATOS.CSV");
    const fs::path config = prepare("CONFIGUR.FCF");
    const auto before = names(dir.path());
    const auto readable = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
    if (GetParam() != OldFile::None)
        for (const fs::path& f : {chart, data, csv, config}) fs::permissions(f, readable);
    fs::permissions(dir.path(), fs::perms::owner_read | fs::perms::owner_exec |
                                    fs::perms::group_read | fs::perms::group_exec |
                                    fs::perms::others_read | fs::perms::others_exec);
    const test::ChildFault readOnly{.ordinaryUser = true};
    const int chartSeen = test::runInChild(readOnly, [&] { return saveChart(chart, ""); });
    const int dataSeen =
        test::runInChild(readOnly, [&] { return saveCapture(data, DataFileKind::Sid); });
    const int csvSeen =
        test::runInChild(readOnly, [&] { return saveCapture(csv, DataFileKind::Csv); });
    const int configSeen = test::runInChild(readOnly, [&] { return saveConfiguration(config); });
    fs::permissions(dir.path(), fs::perms::owner_all);

    EXPECT_EQ(chartSeen, kCleanFailure);
    EXPECT_EQ(dataSeen, kCleanFailure);
    EXPECT_EQ(csvSeen, kCleanFailure);
    EXPECT_EQ(configSeen, kCleanFailure);
    if (GetParam() != OldFile::None) {
        for (const fs::path& f : {chart, data, csv, config}) EXPECT_EQ(contents(f), kOld) << f;
    }
    EXPECT_EQ(names(dir.path()), before);
}

INSTANTIATE_TEST_SUITE_P(OldFiles, SaveFaults,
                         ::testing::Values(OldFile::Alone, OldFile::HardLinked, OldFile::None),
                         [](const auto& info) {
                             switch (info.param) {
                                 case OldFile::Alone:
                                     return std::string("Alone");
                                 case OldFile::HardLinked:
                                     return std::string("HardLinked");
                                 case OldFile::None:
                                     return std::string("None");
                             }
                             return std::string();
                         });

}  // namespace
}  // namespace tarvel

#endif
