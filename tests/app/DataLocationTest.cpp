// Where the game finds its data set: the working folder's Data/ as always, else the one
// installed beside the program, entered so that the game's relative "Data/..." paths reach it.
#include "app/DataLocation.h"
#include "support/FileContents.h"
#include "support/TestImages.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace {

// A started game's surroundings: a working folder and an installed tree
// (<prefix>/games/skarvold and <prefix>/share/games/skarvold), each with or without Data/.
// Puts the process's working folder back afterwards.
class DataLocationTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(root.path.empty());
        saved = fs::current_path();
        working = fs::path(root.path) / "started here";
        prefix = fs::path(root.path) / "prefix";
        program = prefix / "games" / "skarvold";
        installed = prefix / "share" / "games" / "skarvold";
        fs::create_directories(working);
        fs::create_directories(program.parent_path());
        std::ofstream(program) << "program";
        fs::create_directories(installed);
        fs::current_path(working);
    }
    void TearDown() override
    {
        if (!saved.empty())
            fs::current_path(saved);
    }

    // Gives `folder` a data set with one file in it that names the folder.
    static void GiveData(const fs::path& folder)
    {
        fs::create_directories(folder / "Data" / "Gui");
        std::ofstream(folder / "Data" / "Gui" / "Marker.txt") << folder.filename().string();
    }

    // What the game reads at its own relative path, from the working folder it ends up in.
    static std::string ReadMarker()
    {
        return FileContents("Data/Gui/Marker.txt");
    }

    DataLocation Location() const
    {
        return DataLocation(
            working, DataLocation::InstalledBeside(program, "../share/games/skarvold"));
    }

    TempDir root;
    fs::path saved;
    fs::path working;
    fs::path prefix;
    fs::path program;
    fs::path installed;
};

TEST_F(DataLocationTest, TheWorkingFolderComesFirstAndIsLeftAsItIs)
{
    GiveData(working);
    GiveData(installed);
    const DataLocation location = Location();
    EXPECT_EQ(location.Find(), working);
    ASSERT_TRUE(location.Enter());
    EXPECT_EQ(fs::current_path(), working);
    EXPECT_EQ(ReadMarker(), "started here");
}

TEST_F(DataLocationTest, WithoutDataInTheWorkingFolderTheInstalledSetIsEntered)
{
    GiveData(installed);
    const DataLocation location = Location();
    EXPECT_EQ(location.Find(), installed);
    ASSERT_TRUE(location.Enter());
    // The game's paths are relative: they must now reach the installed files.
    EXPECT_EQ(fs::current_path(), installed);
    EXPECT_EQ(ReadMarker(), "skarvold");
}

TEST_F(DataLocationTest, OnlyAFolderNamedDataCounts)
{
    // A file called Data, or a data folder under another name, is no data set.
    std::ofstream(working / "Data") << "not a folder";
    fs::create_directories(working / "data");
    GiveData(installed);
    EXPECT_EQ(Location().Find(), installed);
}

TEST_F(DataLocationTest, WithoutAnyDataSetNothingMovesAndOneLineNamesBothPlaces)
{
    const DataLocation location = Location();
    EXPECT_TRUE(location.Find().empty());
    EXPECT_FALSE(location.Enter());
    EXPECT_EQ(fs::current_path(), working);

    const std::string message = location.NotFoundMessage();
    EXPECT_EQ(message.find('\n'), std::string::npos) << message;
    EXPECT_NE(message.find(working.string()), std::string::npos) << message;
    // The installed place as a person would look for it, without the detour through games/..
    EXPECT_NE(message.find(installed.string()), std::string::npos) << message;
    EXPECT_EQ(message.find(".."), std::string::npos) << message;
}

TEST_F(DataLocationTest, AnUnknownProgramLooksOnlyInTheWorkingFolder)
{
    EXPECT_TRUE(DataLocation::InstalledBeside("", "../share/games/skarvold").empty());
    GiveData(installed);
    const DataLocation location(working, "");
    EXPECT_TRUE(location.Find().empty());
    EXPECT_FALSE(location.Enter());
    // Names the one place it looked, and no empty second one.
    EXPECT_EQ(location.NotFoundMessage(),
        "skarvold: no game data found: looked for a Data folder in " + working.string());
}

TEST(DataLocation, TheRunningProgramIsThisVeryFile)
{
    const fs::path program = DataLocation::RunningProgram();
    ASSERT_TRUE(program.is_absolute()) << program;
    EXPECT_EQ(program.filename(), "skarvold_tests");
    EXPECT_TRUE(fs::is_regular_file(program)) << program;
}

} // namespace
