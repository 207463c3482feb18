// The set in use: loading by name from the mimics directory, the pictures,
// the options list, and a refused or missing file.

#include <gtest/gtest.h>

#include <fstream>

#include "interfaces/manual_control.h"
#include "mimics/mimic_library.h"
#include "mimics/mimic_text.h"
#include "mimics/tenth_channels.h"
#include "platform/file_io.h"
#include "support/fake_messages.h"
#include "support/temp_dir.h"

namespace tarvel {
namespace {

// Pictures are files holding "W H"; anything else cannot be read.
class SizeFiles final : public MimicPictureStore {
public:
    void clear() override { loaded.clear(); }
    std::optional<MimicPicture> load(int slot, const std::string& path) override
    {
        std::ifstream f(path);
        MimicPicture p;
        if (!(f >> p.width >> p.height)) return std::nullopt;
        loaded.push_back(slot);
        return p;
    }
    std::vector<int> loaded;
};

class MimicLibraryTest : public ::testing::Test {
protected:
    MimicLibraryTest()
    {
        library.setPictureStore(&store);
        library.setDirectory(dir.path().string());
    }
    void write(const std::string& name, const std::string& bytes)
    {
        ASSERT_EQ(writeFileReplacing((dir.path() / name).string(), bytes), WriteResult::Ok);
    }
    // A set of `objects` picture objects showing picture 0, over two pictures.
    std::string set(int objects, const std::string& firstText = "0")
    {
        test::MimicText m;
        m.pictures = {"Fondo.bmp", "LUZ.BMP"};
        for (int i = 0; i < objects; ++i) m.object(0, 0, 40, 40, 0, i ? "0" : firstText);
        m.outputs[0] = {0, -1, -1};
        return m.str();
    }

    test::TempDir dir;
    test::FakeMessages messages;
    InterfaceLayer io;
    test::TenthChannels channels{io.image()};
    MimicDisplay display{io, channels};
    MimicLibrary library{display, io.settings, messages};
    SizeFiles store;
};

TEST_F(MimicLibraryTest, LoadsASetAndItsPicturesByNameIgnoringCase)
{
    write("Faro", set(3));
    write("FONDO.BMP", "400 320");
    write("luz.bmp", "24 16");
    EXPECT_EQ(library.selectedIndex(), kSetToFind);
    ASSERT_TRUE(library.loadMimic("FARO"));
    EXPECT_TRUE(messages.empty());
    EXPECT_TRUE(display.loaded());
    EXPECT_EQ(display.objectCount(), 3);
    EXPECT_EQ(library.setName(), "FARO");
    EXPECT_EQ(library.selectedIndex(), kSetToFind);  // found by name in the next list
    EXPECT_EQ(store.loaded, (std::vector<int>{0, 1}));
    EXPECT_TRUE(display.picture(1).usable);
    EXPECT_EQ(display.picture(1).width, 24);
    EXPECT_EQ(display.picture(1).height, 16);
    EXPECT_EQ(display.shownPicture(0), 0);
}

TEST_F(MimicLibraryTest, AnUnreadablePictureIsReportedAndNeverShown)
{
    write("FARO", set(2));
    write("FONDO.BMP", "not a picture");  // LUZ.BMP is missing altogether
    ASSERT_TRUE(library.loadMimic("FARO"));
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(messages.last().text, "No se puede abrir el archivo de mapa de bits");
    EXPECT_EQ(messages.last().caption, "Tarvel2");
    EXPECT_FALSE(display.picture(0).usable);
    EXPECT_EQ(display.shownPicture(0), -1);  // its slot is never drawn
}

TEST_F(MimicLibraryTest, ARefusedFileKeepsTheSetNameAndIndexInUse)
{
    write("FARO", set(2));
    write("FONDO.BMP", "400 320");
    write("LUZ.BMP", "10 10");
    library.choose(0, "FARO", false);
    ASSERT_TRUE(display.loaded());
    io.setOutput(0, 1);
    ASSERT_EQ(display.object(0).state, 1);

    const std::vector<std::string> refused = {
        set(31),                               // too many objects
        set(2, std::string(50, 'x')),          // a text too long
        set(2).substr(0, 30),                  // ends early
        "2;2;\nA;B;\n0,0,4O,40,0,0,0,0,0;\n",  // not a number
        [&] {                                  // a link to nothing
            std::string s = set(2);
            s.replace(s.find("0,-1,-1;"), 8, "2,-1,-1;");
            return s;
        }(),
    };
    for (const std::string& bytes : refused) {
        write("MALA", bytes);
        messages.shown.clear();
        library.choose(1, "MALA", true);
        ASSERT_EQ(messages.shown.size(), 1u) << bytes;
        EXPECT_EQ(messages.last().caption, "Error de archivo");
        EXPECT_NE(messages.last().text.find("La mímica MALA no se puede cargar"),
                  std::string::npos);
        EXPECT_EQ(library.setName(), "FARO");
        EXPECT_EQ(library.selectedIndex(), 0);
        EXPECT_EQ(display.objectCount(), 2);
        EXPECT_EQ(display.object(0).state, 1);  // states as they were
    }
    EXPECT_TRUE(display.showLabels());  // the label choice is taken all the same
}

TEST_F(MimicLibraryTest, AMissingFileEmptiesTheWindowWithoutAWord)
{
    write("FARO", set(1));
    ASSERT_TRUE(library.loadMimic("faro"));
    messages.shown.clear();
    EXPECT_FALSE(library.loadMimic("NADA"));
    EXPECT_TRUE(messages.empty());
    EXPECT_FALSE(display.loaded());
    EXPECT_EQ(library.selectedIndex(), kNoSetLoaded);
    EXPECT_EQ(library.setName(), "NADA");
    // A folder of that name is no set either.
    std::filesystem::create_directory(dir.path() / "CARPETA");
    EXPECT_FALSE(library.loadMimic("CARPETA"));
    EXPECT_TRUE(messages.empty());
}

TEST_F(MimicLibraryTest, TheListHoldsFilesWithoutExtensionInNameOrder)
{
    write("semaforo", set(1));
    write("FARO", set(1));
    write("Barrera", set(1));
    write("FARO.BMP", "1 1");
    write("LEAME.txt", "");
    std::filesystem::create_directory(dir.path() / "VIEJAS");
    EXPECT_EQ(library.listSets(), (std::vector<std::string>{"Barrera", "FARO", "semaforo"}));

    // The set in use is found by name (ignoring case) until it has an index.
    ASSERT_TRUE(library.loadMimic("faro"));
    EXPECT_EQ(library.indexIn(library.listSets()), 1);
    library.choose(2, "semaforo", false);
    EXPECT_EQ(library.selectedIndex(), 2);
    EXPECT_EQ(library.indexIn(library.listSets()), 2);

    // Another directory: the set is looked up by name again, and choosing it
    // reads it from there even at the same place in the list.
    test::TempDir other;
    test::MimicText two;
    two.object(0, 0, 1, 1, 2, "a");
    two.object(0, 0, 1, 1, 2, "b");
    ASSERT_EQ(writeFileReplacing((other.path() / "Amarillo").string(), set(1)), WriteResult::Ok);
    ASSERT_EQ(writeFileReplacing((other.path() / "b").string(), set(1)), WriteResult::Ok);
    ASSERT_EQ(writeFileReplacing((other.path() / "SEMAFORO").string(), two.str()), WriteResult::Ok);
    library.setDirectory(other.path().string());
    EXPECT_EQ(library.selectedIndex(), kSetToFind);
    const auto list = library.listSets();
    EXPECT_EQ(library.indexIn(list), 2);
    library.choose(2, list[2], false);
    EXPECT_EQ(display.objectCount(), 2);
    EXPECT_EQ(library.setName(), "SEMAFORO");
}

TEST_F(MimicLibraryTest, NamesKeepTwentyCharacters)
{
    write("ABCDEFGHIJKLMNOPQRST", set(1));
    EXPECT_TRUE(library.loadMimic("ABCDEFGHIJKLMNOPQRSTUVW"));
    EXPECT_EQ(library.setName(), "ABCDEFGHIJKLMNOPQRST");
}

}  // namespace
}  // namespace tarvel
