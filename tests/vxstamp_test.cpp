// vxstamp on copies of the built deliverables: what show prints, what set writes into the marker texts,
// and that every refusal leaves the directory exactly as it was.
#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "support/deliverable.h"

namespace vxtest {
namespace {

namespace fs = std::filesystem;

const std::string kHotfixName = "ORB_VERSION_HOTFIX_NUMBER=";
const std::string kImageDescriptionName = "BLDMRK_IMAGE_DESCRIPTION=";
constexpr uid_t kUnprivilegedId = 65534;

std::string read_bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void append_bytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::app) << bytes;
}

mode_t mode_of(const std::string& path) {
    struct stat info {};
    EXPECT_EQ(lstat(path.c_str(), &info), 0) << path;
    return info.st_mode & 07777;
}

// A marker text as vxstamp show prints it: quoted, bytes other than printable ASCII as \xNN.
std::string shown_text(const std::string& text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c >= 0x20 && c <= 0x7E) {
            out += static_cast<char>(c);
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
            out += escaped;
        }
    }
    return out + '"';
}

std::string marker_text(const std::string& name, const std::string& value) {
    std::string text = name + value;
    text.resize(65, ' ');
    return text;
}

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

struct Shown {
    std::string name;
    std::string value;
};

class VxstampTest : public ::testing::TestWithParam<Deliverable> {
  protected:
    void SetUp() override {
        std::string pattern = ::testing::TempDir() + "vxstamp-XXXXXX";
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        root = pattern;
        work = root + "/work";
        lib = work + "/" + GetParam().name + ".so";
        client = work + "/" + GetParam().client;
        // Readable for the unprivileged runs.
        fs::permissions(root, fs::perms(0755));
        reset_work();
    }

    void TearDown() override {
        fs::permissions(work, fs::perms(0755));
        fs::remove_all(root);
    }

    // A fresh copy of the deliverable and its client library, which it needs beside it to load.
    void reset_work() {
        if (fs::exists(work)) fs::permissions(work, fs::perms(0755));
        fs::remove_all(work);
        fs::create_directory(work);
        fs::permissions(work, fs::perms(0755));
        fs::copy_file(library_path(std::string(GetParam().name) + ".so"), lib);
        fs::copy_file(library_path(GetParam().client), client);
        fs::permissions(lib, fs::perms(0750));
    }

    // Runs vxstamp. An `unprivileged` run started as root drops to another user, so that file
    // permissions apply to it.
    Outcome run(const std::vector<std::string>& args, bool unprivileged = false) const {
        const std::string out_path = root + "/out";
        const std::string err_path = root + "/err";
        const pid_t child = fork();
        if (child == 0) {
            const int out = open(out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            const int err = open(err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            if (out < 0 || err < 0 || dup2(out, 1) < 0 || dup2(err, 2) < 0) _exit(126);
            if (unprivileged && geteuid() == 0) {
                if (setgroups(0, nullptr) != 0 || setgid(kUnprivilegedId) != 0 || setuid(kUnprivilegedId) != 0) {
                    _exit(126);
                }
            }
            std::vector<char*> argv{const_cast<char*>(VXSTAMP_PATH)};
            for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
            argv.push_back(nullptr);
            execv(VXSTAMP_PATH, argv.data());
            _exit(127);
        }
        Outcome result;
        int status = 0;
        EXPECT_EQ(waitpid(child, &status, 0), child);
        result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        result.out = read_bytes(out_path);
        result.err = read_bytes(err_path);
        return result;
    }

    // Field number -> name and value, from vxstamp show.
    std::map<int, Shown> show(const std::string& library) const {
        const Outcome r = run({"show", library});
        EXPECT_EQ(r.status, 0) << r.err;
        std::map<int, Shown> fields;
        std::istringstream lines(r.out);
        for (std::string line; std::getline(lines, line);) {
            // "%2d %-24s value": the value starts at column 28.
            if (line.size() < 28) {
                ADD_FAILURE() << "short line: " << line;
                continue;
            }
            const std::string name = line.substr(3, line.find(' ', 3) - 3);
            fields[std::stoi(line.substr(0, 2))] = {name, line.substr(28)};
        }
        return fields;
    }

    // Every file in the work directory with its bytes and mode.
    std::map<std::string, std::pair<std::string, mode_t>> snapshot() const {
        std::map<std::string, std::pair<std::string, mode_t>> files;
        for (const auto& entry : fs::directory_iterator(work)) {
            const std::string path = entry.path().string();
            files[path] = {read_bytes(path), mode_of(path)};
        }
        return files;
    }

    std::string root;
    std::string work;
    std::string lib;
    std::string client;
};

TEST_P(VxstampTest, ShowPrintsEveryFieldOfTheStampWithItsName) {
    VersionStamp stamp;
    ASSERT_EQ(load(GetParam()).vxbldmk1(&stamp), 0);
    uintptr_t words[26];
    std::memcpy(words, &stamp, sizeof words);

    const std::map<int, Shown> fields = show(library_path(std::string(GetParam().name) + ".so"));
    ASSERT_EQ(fields.size(), 26u);
    for (int n = 0; n < 26; ++n) {
        std::string expected;
        if (n == 3) {
            expected = std::to_string(static_cast<intptr_t>(words[n]));
        } else if (words[n] == 0) {
            expected = "null";
        } else {
            expected = shown_text(reinterpret_cast<const char*>(words[n]));
        }
        EXPECT_EQ(fields.at(n).value, expected) << "field " << n;
    }
    const std::map<int, std::string> names = {
        {0, "release"},     {1, "build_trees"},    {3, "build_time"},
        {4, "component"},   {5, "build_code"},     {6, "family"},
        {7, "revision_id"}, {12, "hotfix_marker"}, {14, "image_description_marker"},
        {15, "platform"},   {16, "build_date"},
    };
    for (const auto& [n, name] : names) EXPECT_EQ(fields.at(n).name, name) << "field " << n;
}

TEST_P(VxstampTest, SetWritesTheValueIntoItsMarkerAndChangesNothingElse) {
    const struct {
        const char* option;
        std::string value;
        int field;
        const std::string& name;
    } cases[] = {
        {"--hotfix", "HF-0042", 12, kHotfixName},
        {"--hotfix", std::string(39, '9'), 12, kHotfixName},
        {"--hotfix", "", 12, kHotfixName},
        {"--image-description", "nightly image \xA0\xE9\xFF ~", 14, kImageDescriptionName},
        {"--image-description", std::string(40, 'D'), 14, kImageDescriptionName},
    };
    const std::string original = read_bytes(library_path(std::string(GetParam().name) + ".so"));
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.option) + " \"" + c.value + "\"");
        reset_work();
        const size_t at = original.find(marker_text(c.name, "") + '\0');
        ASSERT_NE(at, std::string::npos);

        const Outcome r = run({"set", lib, c.option, c.value});
        EXPECT_EQ(r.status, 0) << r.err;
        const std::string after = read_bytes(lib);
        ASSERT_EQ(after.size(), original.size());
        EXPECT_EQ(after.substr(at, 66), marker_text(c.name, c.value) + '\0');
        for (size_t i = 0; i < after.size(); ++i) {
            if (i >= at + c.name.size() && i < at + 65) continue;
            if (after[i] != original[i]) {
                ADD_FAILURE() << "byte " << i << " changed outside the marker's room";
                break;
            }
        }
        EXPECT_EQ(mode_of(lib), 0750u);
        EXPECT_EQ(show(lib).at(c.field).value, shown_text(marker_text(c.name, c.value)));
    }
}

TEST_P(VxstampTest, LaterSetReplacesTheEarlierValue) {
    ASSERT_EQ(run({"set", lib, "--hotfix", "HF-1234567890", "--image-description", "first image"}).status, 0);
    ASSERT_EQ(run({"set", lib, "--hotfix", "HF-7"}).status, 0);
    std::map<int, Shown> fields = show(lib);
    EXPECT_EQ(fields.at(12).value, shown_text(marker_text(kHotfixName, "HF-7")));
    EXPECT_EQ(fields.at(14).value, shown_text(marker_text(kImageDescriptionName, "first image")));

    ASSERT_EQ(run({"set", lib, "--image-description", "second"}).status, 0);
    fields = show(lib);
    EXPECT_EQ(fields.at(12).value, shown_text(marker_text(kHotfixName, "HF-7")));
    EXPECT_EQ(fields.at(14).value, shown_text(marker_text(kImageDescriptionName, "second")));
}

TEST_P(VxstampTest, SetThroughASymbolicLinkWritesTheFileAndKeepsTheLink) {
    const std::string link = work + "/current.so";
    fs::create_symlink(lib, link);
    ASSERT_EQ(run({"set", link, "--hotfix", "HF-9"}).status, 0);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(show(lib).at(12).value, shown_text(marker_text(kHotfixName, "HF-9")));
}

TEST_P(VxstampTest, RefusalsLeaveEveryFileAsItWas) {
    const std::string marker_copy = marker_text(kHotfixName, "") + '\0';
    const struct {
        const char* what;
        std::vector<std::string> args;
        std::function<void()> prepare;
        bool unprivileged;
        int status;
        const char* message;
    } cases[] = {
        {"hotfix too long", {"set", lib, "--hotfix", std::string(40, '1')}, {}, false, 1, "at most 39"},
        {"description too long", {"set", lib, "--image-description", std::string(41, 'd')}, {}, false, 1, "at most 40"},
        {"C0 control", {"set", lib, "--hotfix", "HF\x01"}, {}, false, 1, "control character"},
        {"tab", {"set", lib, "--image-description", "a\tb"}, {}, false, 1, "control character"},
        {"DEL", {"set", lib, "--hotfix", "HF\x7F"}, {}, false, 1, "control character"},
        {"C1 control", {"set", lib, "--hotfix", "HF\x80"}, {}, false, 1, "control character"},
        {"last C1 control", {"set", lib, "--image-description", "x\x9F"}, {}, false, 1, "control character"},
        {"no marker", {"set", client, "--hotfix", "HF-1"}, {}, false, 1, "no ORB_VERSION_HOTFIX_NUMBER="},
        {"marker twice, other value valid",
         {"set", lib, "--image-description", "fine", "--hotfix", "HF-1"},
         [&] { append_bytes(lib, marker_copy); },
         false,
         1,
         "2 ORB_VERSION_HOTFIX_NUMBER= marker texts"},
        {"file not writable",
         {"set", lib, "--hotfix", "HF-1"},
         [&] { fs::permissions(lib, fs::perms(0444)); },
         true,
         1,
         "cannot write"},
        {"directory not writable",
         {"set", lib, "--hotfix", "HF-1"},
         [&] {
             fs::permissions(lib, fs::perms(0666));
             fs::permissions(work, fs::perms(0555));
         },
         true,
         1,
         "cannot write in directory"},
        {"no such file", {"set", work + "/absent.so", "--hotfix", "HF-1"}, {}, false, 1, "cannot find"},
        {"option without value", {"set", lib, "--hotfix"}, {}, false, 2, "needs a value"},
        {"unknown option", {"set", lib, "--hotfixes", "1"}, {}, false, 2, "unknown option"},
        {"option twice", {"set", lib, "--hotfix", "1", "--hotfix", "2"}, {}, false, 2, "given twice"},
        {"nothing to set", {"set", lib}, {}, false, 2, "needs --hotfix"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        reset_work();
        if (c.prepare) c.prepare();
        const auto before = snapshot();
        const Outcome r = run(c.args, c.unprivileged);
        EXPECT_EQ(r.status, c.status) << r.err;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_TRUE(snapshot() == before) << "files changed";
    }
}

INSTANTIATE_TEST_SUITE_P(BothBuilds, VxstampTest, ::testing::ValuesIn(kBothDeliverables),
                         [](const auto& built) { return std::string(built.param.name); });

TEST(VxstampCommandLine, HelpExplainsBothCommandsAndWrongUseIsAnError) {
    const auto run = [](const std::string& args) {
        const std::string command = std::string(VXSTAMP_PATH) + " " + args + " 2>&1";
        FILE* pipe = popen(command.c_str(), "r");
        std::string out;
        for (int c; (c = std::fgetc(pipe)) != EOF;) out += static_cast<char>(c);
        const int status = pclose(pipe);
        return std::make_pair(WIFEXITED(status) ? WEXITSTATUS(status) : -1, out);
    };
    const auto [help_status, help] = run("--help");
    EXPECT_EQ(help_status, 0);
    for (const char* word : {"vxstamp show", "vxstamp set", "--hotfix", "--image-description", "39", "40"}) {
        EXPECT_NE(help.find(word), std::string::npos) << word;
    }
    for (const char* wrong : {"", "frobnicate", "show", "show a b"}) {
        EXPECT_EQ(run(wrong).first, 2) << "vxstamp " << wrong;
    }
}

}  // namespace
}  // namespace vxtest
