#include "calibration/CalibrationFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include <grp.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace zorvane {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

CalibrationDeviceId Id(std::u16string_view text)
{
    CalibrationDeviceId id{};
    std::copy_n(text.begin(), std::min(text.size(), id.size()), id.begin());
    return id;
}

TwoPointCalibration Record(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom,
                           CalibrationDeviceId id)
{
    return {left, top, right, bottom, id};
}

// A record whose plain bytes include values of 128 and more, where a signed and an unsigned checksum
// differ.
const TwoPointCalibration kExported = Record(150, -1, 0x780, 0x438, Id(u"32-18"));
const Bytes kExportedFile = {
    0x01, 0x00, 0x00, 0x00, 0x50, 0x00, 0x00, 0x00, 0xCC, 0x5A, 0x5A, 0x5A, 0xA5, 0xA5, 0xA5, 0xA5,
    0xDA, 0x5D, 0x5A, 0x5A, 0x62, 0x5E, 0x5A, 0x5A, 0x69, 0x5A, 0x68, 0x5A, 0x77, 0x5A, 0x6B, 0x5A,
    0x62, 0x5A, 0x5A, 0x5A, 0x5A, 0x5A, 0x5A, 0x5A, 0x5A, 0x5A, 0x5A, 0x5A, 0x5A, 0x5A, 0x5A, 0x5A,
    0x5A, 0x5A, 0x5A, 0x5A, 0x5A, 0x5A, 0x5A, 0x5A,
};

// What a caller's buffer holds before a read that must leave it alone.
const TwoPointCalibration kUntouched = Record(7, 8, 9, 10, Id(u"untouched"));

Bytes Encoded(const TwoPointCalibration& record)
{
    const CalibrationFileBytes bytes = EncodeCalibrationFile(record);
    return Bytes(bytes.begin(), bytes.end());
}

Bytes WithByte(Bytes bytes, std::size_t at, std::uint8_t value)
{
    bytes[at] = value;
    return bytes;
}

Bytes FirstBytes(Bytes bytes, std::size_t count)
{
    bytes.resize(count);
    return bytes;
}

TEST(CalibrationFileFormat, LaysOutVersionSignedChecksumAndScrambledLittleEndianRecord)
{
    EXPECT_EQ(Encoded(kExported), kExportedFile);
}

TEST(CalibrationFileFormat, RoundTripsEveryValue)
{
    CalibrationDeviceId full;
    full.fill(u'\xFFFF');
    const TwoPointCalibration records[] = {
        {},
        kExported,
        Record(INT32_MIN, INT32_MAX, 65535, -65536, full),
        Record(0x12345678, -0x12345678, 1, -2, Id(u"65535-65535")),
    };
    for (const auto& record : records) {
        TwoPointCalibration decoded;
        EXPECT_EQ(DecodeCalibrationFile(Encoded(record), decoded), CalibrationFileResult::Success);
        EXPECT_EQ(decoded, record);
    }
}

TEST(CalibrationFileFormat, DecodesByTheFileRules)
{
    // The plain bytes of every field after `right` are 0x5A, which a missing byte (zero) unscrambles to.
    CalibrationDeviceId fives;
    fives.fill(char16_t{0x5A5A});
    const TwoPointCalibration endsInFives = Record(100, 200, 300, 0x5A5A5A5A, fives);
    TwoPointCalibration allFives = endsInFives;
    allFives.left = allFives.top = allFives.right = 0x5A5A5A5A;

    // Cut after the third identification unit: the rest unscrambles to 0x5A5A units.
    TwoPointCalibration cut = kExported;
    std::fill(cut.deviceId.begin() + 3, cut.deviceId.end(), char16_t{0x5A5A});

    // A unit after the terminator still counts in the checksum but is not part of the identification.
    TwoPointCalibration trailing = kExported;
    trailing.deviceId[7] = u'X';

    const auto untouched = std::optional<TwoPointCalibration>{};
    struct Case {
        const char* name;
        Bytes bytes;
        CalibrationFileResult result;
        std::optional<TwoPointCalibration> out;  // none: out stays untouched
    };
    const Case cases[] = {
        {"empty", {}, CalibrationFileResult::BadFormat, untouched},
        {"three bytes", {0x01, 0x00, 0x00}, CalibrationFileResult::BadFormat, untouched},
        {"version 2", WithByte(kExportedFile, 0, 0x02), CalibrationFileResult::BadFormat, untouched},
        {"version 257", WithByte(kExportedFile, 1, 0x01), CalibrationFileResult::BadFormat, untouched},
        {"version -1", {0xFF, 0xFF, 0xFF, 0xFF}, CalibrationFileResult::BadFormat, untouched},
        {"only the version", {0x01, 0x00, 0x00, 0x00}, CalibrationFileResult::BadFormat, allFives},
        {"cut inside the checksum", FirstBytes(kExportedFile, 6), CalibrationFileResult::BadFormat, allFives},
        {"cut where only 0x5A plain bytes are missing", FirstBytes(Encoded(endsInFives), 20),
         CalibrationFileResult::Success, endsInFives},
        {"cut where other bytes are missing", FirstBytes(kExportedFile, 30), CalibrationFileResult::BadFormat, cut},
        {"bytes past the record", [] { Bytes b = kExportedFile; b.insert(b.end(), {1, 2, 3}); return b; }(),
         CalibrationFileResult::Success, kExported},
        {"wrong checksum", WithByte(kExportedFile, 4, 0x51), CalibrationFileResult::BadFormat, kExported},
        {"damaged record", WithByte(kExportedFile, 8, 0xCD), CalibrationFileResult::BadFormat,
         Record(151, -1, 0x780, 0x438, Id(u"32-18"))},
        {"unit after the terminator", Encoded(trailing), CalibrationFileResult::Success, kExported},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TwoPointCalibration out = kUntouched;
        EXPECT_EQ(DecodeCalibrationFile(c.bytes, out), c.result);
        EXPECT_EQ(out, c.out.value_or(kUntouched));
    }
}

// A scratch folder per test, removed with everything in it.
class CalibrationFileOnDisk : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "zorvane-cdat-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        folder_ = pattern;
    }
    void TearDown() override
    {
        fs::permissions(folder_, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(folder_);
    }

    fs::path PathOf(const char* name) const { return folder_ / name; }

    // Runs `call` as a user whom file permissions bind: this one, or, when the tests run as root (as
    // on CI), an unprivileged user in a child process. The folder's and files' permissions must let
    // others in where the case needs it.
    static CalibrationFileResult AsBoundUser(const std::function<CalibrationFileResult()>& call)
    {
        if (::geteuid() != 0)
            return call();
        constexpr uid_t kNobody = 65534;
        constexpr int kCouldNotDrop = 99;
        const pid_t child = ::fork();
        if (child == 0) {
            if (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)
                ::_exit(kCouldNotDrop);
            ::_exit(static_cast<int>(call()));
        }
        int status = 0;
        EXPECT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status));
        EXPECT_NE(WEXITSTATUS(status), kCouldNotDrop);
        return static_cast<CalibrationFileResult>(WEXITSTATUS(status));
    }

    static void Put(const fs::path& path, const Bytes& bytes)
    {
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                    static_cast<std::streamsize>(bytes.size()));
    }
    static Bytes Contents(const fs::path& path)
    {
        std::ifstream in(path, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), {});
    }
    std::vector<std::string> Names() const
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder_))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    fs::path folder_;
};

TEST_F(CalibrationFileOnDisk, WrittenFileReadsBack)
{
    const fs::path path = PathOf("Zorvane_32-18.cdat");
    ASSERT_EQ(WriteCalibrationFile(path, kExported), CalibrationFileResult::Success);
    EXPECT_EQ(Contents(path), kExportedFile);
    TwoPointCalibration read;
    EXPECT_EQ(ReadCalibrationFile(path, read), CalibrationFileResult::Success);
    EXPECT_EQ(read, kExported);
    EXPECT_EQ(Names(), std::vector<std::string>{"Zorvane_32-18.cdat"}) << "no temporary file is left";
}

TEST_F(CalibrationFileOnDisk, ReadAppliesTheFileRules)
{
    struct Case {
        const char* name;
        Bytes bytes;
        CalibrationFileResult result;
    };
    const Case cases[] = {
        {"empty", {}, CalibrationFileResult::BadFormat},
        {"version only", {0x01, 0x00, 0x00, 0x00}, CalibrationFileResult::BadFormat},
        {"longer than 56 bytes", [] { Bytes b = kExportedFile; b.resize(4096, 0xEE); return b; }(),
         CalibrationFileResult::Success},
        {"wrong checksum", WithByte(kExportedFile, 7, 0x01), CalibrationFileResult::BadFormat},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Put(PathOf("in.cdat"), c.bytes);
        TwoPointCalibration out = kUntouched;
        TwoPointCalibration decoded = kUntouched;
        EXPECT_EQ(ReadCalibrationFile(PathOf("in.cdat"), out), c.result);
        EXPECT_EQ(DecodeCalibrationFile(c.bytes, decoded), c.result);
        EXPECT_EQ(out, decoded);
    }
}

TEST_F(CalibrationFileOnDisk, UnreadableFileLeavesTheRecordUntouched)
{
    ASSERT_EQ(::mkfifo(PathOf("pipe.cdat").c_str(), 0666), 0);
    for (const fs::path& path : {PathOf("missing.cdat"), folder_, PathOf("pipe.cdat")}) {
        SCOPED_TRACE(path.string());
        TwoPointCalibration out = kUntouched;
        EXPECT_EQ(ReadCalibrationFile(path, out), CalibrationFileResult::CannotOpen);
        EXPECT_EQ(out, kUntouched);
    }

    Put(PathOf("locked.cdat"), kExportedFile);
    fs::permissions(PathOf("locked.cdat"), fs::perms::none);
    fs::permissions(folder_, fs::perms::all);
    EXPECT_EQ(AsBoundUser([&] {
                  TwoPointCalibration out;
                  return ReadCalibrationFile(PathOf("locked.cdat"), out);
              }),
              CalibrationFileResult::CannotOpen);
}

TEST_F(CalibrationFileOnDisk, FailedWriteLeavesTheOldFileAndNoTemporary)
{
    EXPECT_EQ(WriteCalibrationFile(folder_ / "missing" / "out.cdat", kExported), CalibrationFileResult::CannotOpen);

    fs::create_directory(PathOf("taken"));
    EXPECT_EQ(WriteCalibrationFile(PathOf("taken"), kExported), CalibrationFileResult::CannotOpen)
        << "a folder of that name is not replaced";
    EXPECT_TRUE(fs::is_directory(PathOf("taken")));

    // Files may grow to 20 bytes only: the write fails part-way through the new content.
    const Bytes old = Encoded(Record(1, 2, 3, 4, Id(u"1-1")));
    Put(PathOf("old.cdat"), old);
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &limit), 0);
    const rlimit small{20, limit.rlim_max};
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const CalibrationFileResult result = WriteCalibrationFile(PathOf("old.cdat"), kExported);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limit), 0);
    EXPECT_EQ(result, CalibrationFileResult::CannotOpen);
    EXPECT_EQ(Contents(PathOf("old.cdat")), old);

    EXPECT_EQ(Names(), (std::vector<std::string>{"old.cdat", "taken"}));
}

// Where opening the file for writing would fail, so does the export, although a rename could still
// replace a read-only file in a writable folder.
TEST_F(CalibrationFileOnDisk, WriteFailsWhereTheUserMayNotWrite)
{
    struct Case {
        const char* name;
        fs::perms folder;
        fs::perms file;
    };
    const fs::perms readOnly = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
    const fs::perms readAndEnter =
        readOnly | fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec;
    const Case cases[] = {
        {"read-only folder", readAndEnter, fs::perms::all},
        {"read-only file", fs::perms::all, readOnly},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::permissions(folder_, fs::perms::all);
        Put(PathOf("old.cdat"), kExportedFile);
        fs::permissions(PathOf("old.cdat"), c.file);
        fs::permissions(folder_, c.folder);
        EXPECT_EQ(AsBoundUser([&] { return WriteCalibrationFile(PathOf("old.cdat"), Record(1, 2, 3, 4, Id(u"1-1"))); }),
                  CalibrationFileResult::CannotOpen);
        EXPECT_EQ(Contents(PathOf("old.cdat")), kExportedFile);
        EXPECT_EQ(Names(), std::vector<std::string>{"old.cdat"});
    }
}

TEST_F(CalibrationFileOnDisk, ReplacingKeepsPermissionsAndFollowsLinks)
{
    Put(PathOf("real.cdat"), {});
    fs::permissions(PathOf("real.cdat"), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::create_symlink("real.cdat", PathOf("link.cdat"));

    ASSERT_EQ(WriteCalibrationFile(PathOf("link.cdat"), kExported), CalibrationFileResult::Success);
    EXPECT_TRUE(fs::is_symlink(PathOf("link.cdat")));
    EXPECT_EQ(Contents(PathOf("real.cdat")), kExportedFile);
    EXPECT_EQ(fs::status(PathOf("real.cdat")).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

    fs::create_symlink("made.cdat", PathOf("ahead.cdat"));
    ASSERT_EQ(WriteCalibrationFile(PathOf("ahead.cdat"), kExported), CalibrationFileResult::Success);
    EXPECT_TRUE(fs::is_symlink(PathOf("ahead.cdat"))) << "a link to a file not made yet stays a link";
    EXPECT_EQ(Contents(PathOf("made.cdat")), kExportedFile);
}

}  // namespace
}  // namespace zorvane
