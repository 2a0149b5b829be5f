// report-compare on runs made up for the purpose: its rows, summaries and exit statuses, its
// command line, and its trouble; then against report-table run on each run and joined by a
// short script (compare_check.py), on generated runs.
#include "harness.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

using namespace std::string_literals;

namespace {

std::string proved(const char* time, const char* steps) {
    return "Total number of proof steps: "s + steps + "\nThe conjecture successfully proved.\n"
           "Time spent by the prover is " + time + " seconds.\n";
}

const std::string odd = "o,\"d\nd\xff";

// Two runs, `base` and `new`, and a third, `locked`, whose p2 and sub cannot be read by
// anyone but root.
class Compare : public harness::InScratch {
protected:
    Compare() : InScratch("report-compare-test") {}
    void SetUp() override {
        InScratch::SetUp();
        chmod(".", 0755);
        const std::string nuls(500, '\0');
        const std::pair<std::string, std::string> files[] = {
            {"base/p1", proved("1.5", "10")},
            {"base/p2", "The conjecture successfully proved.\nTotal number of proof steps: 20\n"
                        "Time spent by the prover: 2.0 seconds\n"},
            {"base/p3", "The conjecture not proved.\nTime spent by the prover is 0.5 seconds\n"},
            {"base/sub/p4", "Syntax error\nThe conjecture not proved - timeout.\n"
                            "Time spent by the prover is 9.0 seconds\n"},
            {"base/.h", proved("0.25", "1")}, {"base/" + odd, proved("1.0", "2")}, {"base/nul", nuls},
            {"new/p1", proved("1.0", "8")}, {"new/p2", "Time spent by the prover is 3.0 seconds\n"},
            {"new/p3", proved("0.5", "5")},
            {"new/sub/p4", "The conjecture not proved - maximal number of proof steps reached.\n"},
            {"new/.h", proved("0.5", "1")}, {"new/" + odd, proved("2.0", "3")},
            {"new/p5", "The conjecture successfully proved.\nTime spent by the prover is 0.1 seconds\n"},
            {"new/nul", nuls},
            {"locked/p1", proved("1.5", "10")}, {"locked/p2", proved("2.0", "20")},
            {"locked/sub/p4", ""}, {"t=10/p1", proved("1.5", "10")}, {"file", ""},
        };
        for (const auto& [path, text] : files) {
            if (path.find('/') != path.npos)
                std::filesystem::create_directories(std::filesystem::path(path).parent_path());
            std::ofstream(path, std::ios::binary) << text;
        }
        symlink("p1", "base/l");
        chmod("locked/p2", 0);
        chmod("locked/sub", 0);
    }
};

TEST_F(Compare, RowsSummariesAndStatuses) {
    const std::string header = "problem,base:outcome,base:time,base:steps,new:outcome,new:time,new:steps,change\n";
    const std::string same = ".h,proved,0.250000,1,proved,0.500000,1,same\nnul,not-proved,,,not-proved,,,same\n"
                             "\"o,\"\"d\nd\xff\",proved,1.000000,2,proved,2.000000,3,same\n"
                             "p1,proved,1.500000,10,proved,1.000000,8,same\n";
    const std::string changes = "p2,proved,2.000000,20,not-proved,3.000000,,lost\n"
                                "p3,not-proved,0.500000,,proved,0.500000,5,gained\n"
                                "p5,missing,,,proved,0.100000,,gained\n"
                                "sub/p4,timeout,9.000000,,step-limit,,,changed\n";
    const std::string summary_header = "run,reports,proved,disproved,not_proved,timeout,step_limit,"
                                       "out_of_scope,missing,errors,gained,lost,time_proved,time_common,steps_common\n";
    const std::string summary = "base,7,4,0,2,1,0,0,1,1,0,0,4.750000,2.750000,13\n"
                                "new,8,5,0,2,0,1,0,0,0,2,1,4.100000,3.500000,12\n";
    const std::string try_help = "Try 'report-compare --help' for more information.\n";
    const std::string p1_alone = "p1,proved,1.500000,10,same\n";
    const std::string base_p1 = "problem,base:outcome,base:time,base:steps,change\n" + p1_alone;
    harness::check_runs("report-compare", {
        {"every problem", {"base", "new"}, "", header + same + changes, "", 1},
        {"labels given", {"base=base/", "new=./new"}, "", header + same + changes, "", 1},
        {"only the changes", {"--changes", "base", "new"}, "", header + changes, "", 1},
        {"the summary", {"base", "--summ", "new/"}, "", summary_header + summary, "", 1},
        {"json", {"--format=json", "--match=p5", "base", "new"}, "",
         R"({"problem":"p5","change":"gained","runs":[{"run":"base","outcome":"missing","time":null,"steps":null},)"
         R"({"run":"new","outcome":"proved","time":0.100000,"steps":null}]})" "\n", "", 0},
        {"json names", {"--format=json", "--match=o*", "base"}, "",
         R"({"problem":"o,\"d\u000ad�","change":"same","runs":[{"run":"base","outcome":"proved","time":1.000000,"steps":2}]})" "\n", "", 0},
        {"json summary", {"--format=json", "--summary", "--match=p1", "new"}, "",
         R"({"run":"new","reports":1,"proved":1,"disproved":0,"not_proved":0,"timeout":0,"step_limit":0,)"
         R"("out_of_scope":0,"missing":0,"errors":0,"gained":0,"lost":0,"time_proved":1.000000,)"
         R"("time_common":1.000000,"steps_common":8})" "\n", "", 0},
        {"a pattern that matches nothing", {"--match=*.report", "base", "new"}, "", header, "", 0},
        {"a run against itself", {"--changes", "a=base", "b=base"}, "",
         "problem,a:outcome,a:time,a:steps,b:outcome,b:time,b:steps,change\n", "", 0},
        {"a directory holding =", {"--match=p1", "t10=t=10"}, "", "problem,t10:outcome,t10:time,t10:steps,change\n" + p1_alone, "", 0},
        {"labelled twice", {"r=base", "r=new"}, "", "", "report-compare: two runs labelled 'r'\n" + try_help, 2},
        {"no label", {"=base"}, "", "", "report-compare: invalid run '=base': expected DIR or NAME=DIR\n" + try_help, 2},
        {"no run", {"--summary"}, "", "", "report-compare: missing operand\n" + try_help, 2},
        {"not a directory", {"base", "file", "missing"}, "", "",
         "report-compare: file: Not a directory\nreport-compare: missing: No such file or directory\n", 2},
        {"a page that cannot be written", {"--match=p1", "--html=missing/p.html", "base"}, "", base_p1,
         "report-compare: missing/p.html: No such file or directory\n", 2},
        {"plots in a file", {"--match=p1", "--plots=file", "base"}, "", base_p1, "report-compare: file: Not a directory\n", 2},
        {"plots two levels down", {"--match=p1", "--plots=missing/plots", "base"}, "", base_p1,
         "report-compare: missing/plots: No such file or directory\n", 2},
    });
}

// What cannot be read is told, counted as missing, and the rest still compared: status 2,
// which wins over the 1 of a lost problem. Run as an ordinary user, for whom the locks hold.
TEST_F(Compare, UnreadableReportsAreMissing) {
    std::vector<std::string> command = {harness::tool("report-compare"), "--summary", "base", "locked"};
    if (geteuid() == 0) {
        if (access("/usr/bin/setpriv", X_OK) != 0) GTEST_SKIP() << "root without setpriv";
        command.insert(command.begin(), {"--reuid=65534", "--regid=65534", "--clear-groups"});
    }
    auto o = harness::run(geteuid() == 0 ? "/usr/bin/setpriv" : command[0], "",
                          std::vector<std::string>(command.begin() + (geteuid() == 0 ? 0 : 1), command.end()));
    EXPECT_EQ(o.err, "report-compare: locked/sub: Permission denied\nreport-compare: locked/p2: Permission denied\n");
    EXPECT_NE(o.out.find("\nlocked,1,1,0,0,0,0,0,6,0,0,3,1.500000,1.500000,10\n"), std::string::npos) << o.out;
    EXPECT_EQ(o.status, 2);
}

// Generated runs, some reports missing from one, compared as report-table's rows of each run
// joined by compare_check.py would compare them.
TEST(CompareDifferential, AsReportTableJoined) {
    if (access("/usr/bin/python3", X_OK) != 0) GTEST_SKIP() << "python3 not installed";
    const harness::Scratch scratch("report-compare-differential");
    const std::string& dir = scratch.path();
    std::vector<std::string> runs;
    for (const char* seed : {"1", "2", "3"}) {
        runs.push_back(dir + "/run" + seed);
        harness::run(harness::tool("bench-generate"), "", {"reports", "300", runs.back(), seed});
    }
    for (int i = 1; i <= 300; i += 7) std::filesystem::remove(runs[1 + i % 2] + "/report-" + std::string(5 - std::to_string(i).size(), '0') + std::to_string(i) + ".txt");
    for (const char* mode : {"--changes", "--summary"}) {
        SCOPED_TRACE(mode);
        std::vector<std::string> args = {mode};
        args.insert(args.end(), runs.begin(), runs.end());
        auto ours = harness::run(harness::tool("report-compare"), "", args);
        std::vector<std::string> check = {SOURCE_DIR "/tests/table/compare_check.py", harness::tool("report-table"), mode};
        check.insert(check.end(), runs.begin(), runs.end());
        auto theirs = harness::run("/usr/bin/python3", "", check);
        EXPECT_EQ(theirs.err, "");
        EXPECT_EQ(ours.out, theirs.out);
        EXPECT_EQ(ours.status, 1);
    }
}

}  // namespace
