#include "engine/TickerluxEngine.h"
#include "settings/TickerluxDoc.h"
#include "tests/support/RecordingUi.h"
#include "tests/support/RunProgram.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

using namespace tickerlux;
using namespace tickerlux::base;
using namespace tickerlux::settings;
using namespace tickerlux::headlines;
using namespace tickerlux::link;
using namespace tickerlux::engine;
using namespace tickerlux::test;

namespace {

std::string PageServe()
{
    return BuildDir() + "/tools/tickerlux-pageserve";
}

// tickerlux-pageserve as the demo and benchmark scripts run it: in the background, its port read
// from the first line it prints, stopped with SIGTERM.
TEST(PageServeTest, ServesTheFileUntilTerminated)
{
    CTempDir dir;
    const std::string page = std::string("<h>Alpha</h>\0tail", 17);
    WriteFileBytes(dir.File("page.html"), page);

    int out[2];
    ASSERT_EQ(pipe(out), 0);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    const std::string program = PageServe();
    const std::string file = dir.File("page.html");
    char* argv[] = {const_cast<char*>(program.c_str()), const_cast<char*>("--path"),
                    const_cast<char*>("/news"), const_cast<char*>(file.c_str()), nullptr};
    pid_t pid = -1;
    ASSERT_EQ(posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);

    FILE* lines = fdopen(out[0], "r");
    unsigned port = 0;
    char url[256] = "";
    const bool announced = std::fscanf(lines, "port %u\n%255s", &port, url) == 2;
    std::fclose(lines);

    CTickerluxDoc doc;
    doc.WebServer = "127.0.0.1:" + std::to_string(port);
    doc.WebPath = "/news";
    CRecordingUi ui;
    CTickerluxEngine engine(doc, ui);
    engine.SetHeadlineCleanup(false);  // the bytes as served
    const bool fetched = announced && !engine.FetchPage().Failed();

    kill(pid, SIGTERM);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);

    ASSERT_TRUE(announced);
    EXPECT_EQ(std::string(url), "http://127.0.0.1:" + std::to_string(port) + "/news");
    EXPECT_TRUE(fetched);
    EXPECT_EQ(engine.Page(), page);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
}

TEST(PageServeTest, UnreadableFileIsAUsageError)
{
    CTempDir dir;
    const ProgramResult result = RunProgram({PageServe(), dir.File("absent.html")});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_NE(result.err.find("cannot read"), std::string::npos) << result.err;
}

} // namespace
