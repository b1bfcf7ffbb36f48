// The files capture writes: a name it found free may be taken by the time the shot is
// written (another capture into the same folder). The earlier file must win, and the
// shot go under the next free name rather than be lost.
#include "cli/CaptureFiles.h"

#include "core/shot/ShotTransfer.h"

#include "CliRun.h"
#include "support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <memory>

#include <unistd.h>

namespace kavlon {
namespace {

std::string contentsOf(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(CliShotFiles, AFileThatTookTheNameMeanwhileIsNeverReplaced) {
    auto state = std::make_unique<AcquisitionState>();
    state->ChannelOn = {true, true, false, false};
    auto record = std::make_unique<ShotRecord>();
    transferShot(*state, *record, TransferInputs{});
    ASSERT_TRUE(record->HasShot);

    for (const cli::ShotFormat format : {cli::ShotFormat::Csv, cli::ShotFormat::Xls}) {
        const std::string extension(cli::extensionOf(format));
        SCOPED_TRACE(extension);
        test::ScratchFolder scratch;
        const auto first = scratch.path() / ("QV_00000" + extension);
        const auto next = scratch.path() / ("QV_00001" + extension);
        // The other capture takes the name while this one writes its shot.
        FileCalls calls;
        calls.write = [&](int fd, const char* data, std::size_t size) {
            if (!std::filesystem::exists(first))
                std::ofstream(first, std::ios::binary) << "another capture's shot";
            return ::write(fd, data, size);
        };

        const NumberedSave saved =
            cli::saveNumberedShot(scratch.path(), *record, format, "2026-01-02 03:04:05", calls);
        EXPECT_TRUE(saved.result.saved) << saved.result.reason;
        EXPECT_EQ(saved.path, next);
        EXPECT_EQ(contentsOf(first), "another capture's shot");
        // The shot is whole under the next name.
        if (format == cli::ShotFormat::Csv) {
            ShotRecord read;
            EXPECT_EQ(cli::readShot(next, read), std::nullopt);
        } else {
            EXPECT_TRUE(contentsOf(next).starts_with(std::string("\x09\x08\x08\x00", 4)));
            EXPECT_TRUE(contentsOf(next).ends_with(std::string("\x0a\x00\x00\x00", 4)));
        }
        EXPECT_EQ(scratch.names(),
                  (std::set<std::string>{first.filename().string(), next.filename().string()}));
    }
}

// What a file holds reaches the terminal escaped: a NUL cuts no message short, a line
// end splits none, and an escape sequence does nothing to the terminal.
TEST(CliShotFiles, ControlCharactersOfAFileAreShownEscaped) {
    test::ScratchFolder scratch;
    const auto path = scratch.path() / "escapes.csv";
    std::ofstream(path, std::ios::binary) << std::string("# KavlonPC shot,\x1b[2J\0x\r\n", 24);
    const test::CliRun run = test::runKavloncli({"measure", QString::fromStdString(path.string())});
    EXPECT_EQ(run.exitCode, 4);
    EXPECT_EQ(run.err, "kavloncli: " + path.string() +
                           ": line 1: the format version \"\\x1b[2J\\x00x\" is no version number\n");
}

} // namespace
} // namespace kavlon
