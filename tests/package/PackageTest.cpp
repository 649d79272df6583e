// The Debian package that cpack made (the package_build test, below the build folder): where its
// files go, whether its menu entry and AppStream data pass the validators, and whether the
// programs it holds work from an unpacked copy.
#include "tests/support/RunProgram.h"
#include "tests/support/SignSimProcess.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <sstream>
#include <string>
#include <vector>

using namespace tickerlux;
using namespace tickerlux::test;

namespace {

namespace fs = std::filesystem;

std::string PackageFile()
{
    std::vector<std::string> found;
    for (const fs::directory_entry& entry : fs::directory_iterator(BuildDir() + "/tests/package/deb"))
        if (entry.path().extension() == ".deb")
            found.push_back(entry.path());
    if (found.size() != 1)
        throw std::runtime_error("expected one package, found " + std::to_string(found.size()));
    return found[0];
}

// The paths in the package ("usr/bin/tickerlux", ...), folders left out.
std::set<std::string> PackagedFiles()
{
    const ProgramResult listing = RunProgram({"/usr/bin/dpkg-deb", "--contents", PackageFile()});
    if (listing.exitCode != 0)
        throw std::runtime_error("dpkg-deb --contents: " + listing.err);
    std::set<std::string> files;
    std::istringstream lines(listing.out);
    for (std::string line; std::getline(lines, line);) {
        // "-rwxr-xr-x root/root  123 2026-12-07 09:00 ./usr/bin/tickerlux"
        const std::size_t path = line.find(" ./");
        if (line[0] != 'd' && path != std::string::npos)
            files.insert(line.substr(path + 3));
    }
    return files;
}

// The package unpacked into a folder of the test's own.
class UnpackedPackage : public testing::Test {
protected:
    void SetUp() override
    {
        const ProgramResult unpacked =
            RunProgram({"/usr/bin/dpkg-deb", "--extract", PackageFile(), m_root.Path()});
        ASSERT_EQ(unpacked.exitCode, 0) << unpacked.err;
    }
    std::string Path(const std::string& inside) const { return m_root.Path() + "/" + inside; }

private:
    CTempDir m_root;
};

const std::string kLibDir = "usr/lib/" TICKERLUX_MULTIARCH;

TEST(PackageContentsTest, EveryFileIsWhereTheSystemLooksForIt)
{
    const std::set<std::string> files = PackagedFiles();
    const std::vector<std::string> expected = {
        "usr/bin/tickerlux",
        "usr/bin/tickerlux-cli",
        "usr/bin/tickerlux-signsim",
        "usr/bin/tickerlux-web",
        kLibDir + "/libbetabriteusb.so",
        "usr/lib/udev/rules.d/60-tickerlux-betabrite.rules",
        "usr/lib/systemd/user/tickerlux-watch@.service",
        "usr/lib/systemd/user/tickerlux-web@.service",
        "usr/share/applications/tickerlux.desktop",
        "usr/share/metainfo/org.example.tickerlux.metainfo.xml",
        "usr/share/icons/hicolor/scalable/apps/tickerlux.svg",
        "usr/share/icons/hicolor/16x16/apps/tickerlux.png",
        "usr/share/icons/hicolor/48x48/apps/tickerlux.png",
        "usr/share/icons/hicolor/256x256/apps/tickerlux.png",
        "usr/share/man/man1/tickerlux.1.gz",
        "usr/share/man/man1/tickerlux-cli.1.gz",
        "usr/share/man/man1/tickerlux-signsim.1.gz",
        "usr/share/man/man1/tickerlux-web.1.gz",
        "usr/share/bash-completion/completions/tickerlux-cli",
        "usr/share/doc/tickerlux/copyright",
        "usr/share/doc/tickerlux/changelog.gz",
    };
    std::string listing;
    for (const std::string& file : files)
        listing += file + "\n";
    for (const std::string& file : expected)
        EXPECT_TRUE(files.count(file)) << file << " is missing; the package holds:\n" << listing;
    for (const std::string& file : files)
        EXPECT_EQ(file.rfind("usr/", 0), 0u) << file << " lies outside /usr";
}

TEST_F(UnpackedPackage, ProgramsCarryNoRunpath)
{
    const std::vector<std::string> files = {"usr/bin/tickerlux", "usr/bin/tickerlux-cli",
                                            "usr/bin/tickerlux-signsim", "usr/bin/tickerlux-web",
                                            kLibDir + "/libbetabriteusb.so"};
    for (const std::string& file : files) {
        const ProgramResult dynamic = RunProgram({"/usr/bin/readelf", "--dynamic", Path(file)});
        ASSERT_EQ(dynamic.exitCode, 0) << file << ": " << dynamic.err;
        EXPECT_EQ(dynamic.out.find("PATH)"), std::string::npos) << file << ":\n" << dynamic.out;
    }
}

TEST_F(UnpackedPackage, MenuEntryAndAppStreamDataPassTheirValidators)
{
    const ProgramResult desktop = RunProgram(
        {"/usr/bin/desktop-file-validate", Path("usr/share/applications/tickerlux.desktop")});
    EXPECT_EQ(desktop.exitCode, 0);
    EXPECT_EQ(desktop.out + desktop.err, "");
    const ProgramResult metainfo =
        RunProgram({"/usr/bin/appstreamcli", "validate", "--pedantic", "--no-net", "--no-color",
             Path("usr/share/metainfo/org.example.tickerlux.metainfo.xml")});
    EXPECT_EQ(metainfo.exitCode, 0) << metainfo.out << metainfo.err;
    EXPECT_NE(metainfo.out.find("Validation was successful"), std::string::npos) << metainfo.out;
}

TEST_F(UnpackedPackage, ServiceRunsTheInstalledProgramWithTheFeedsOwnOptions)
{
    const std::string unit = ReadFileBytes(Path("usr/lib/systemd/user/tickerlux-watch@.service"));
    // The instance name unescaped (%I), so that "my feed" names my feed.tlx, and quoted.
    EXPECT_NE(unit.find("\nEnvironmentFile=-%E/tickerlux/feeds/%I.env\n"), std::string::npos) << unit;
    EXPECT_NE(unit.find("\nExecStart=/usr/bin/tickerlux-cli watch $TICKERLUX_ARGS "
                        "\"%E/tickerlux/feeds/%I.tlx\"\n"),
              std::string::npos)
        << unit;
}

TEST_F(UnpackedPackage, UnpackedCliDeliversToTheVirtualSignWithNothingStored)
{
    CScopedConfigHome home;
    CSignSimProcess sign(7);
    const ProgramResult sent =
        RunProgram({Path("usr/bin/tickerlux-cli"), "send", "Hello from the package",
                    "--connection", "serial port - betabrite classic", "--com", "7"});
    ASSERT_EQ(sent.exitCode, 0) << sent.err;
    const auto shown = sign.WaitForEvent("display");
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->value("text", ""), "Hello from the package");
}

TEST_F(UnpackedPackage, ManualPageOfTheCliShowsItsCommands)
{
    const ProgramResult page = RunProgram(
        {"/usr/bin/man", "--local-file", Path("usr/share/man/man1/tickerlux-cli.1.gz")},
        {{"MANWIDTH", "100"}, {"MANPAGER", "cat"}, {"PAGER", "cat"}});
    ASSERT_EQ(page.exitCode, 0) << page.err;
    EXPECT_NE(page.out.find("tickerlux-cli - keep an LED sign"), std::string::npos) << page.out;
    EXPECT_NE(page.out.find("--connection KIND"), std::string::npos) << page.out;
}

} // namespace
