// The files capture writes: a name it found free may be taken by the time the shot is
// written (another capture into the same folder), and the earlier file must win.
#include "cli/CaptureFiles.h"

#include "core/shot/ShotTransfer.h"

#include "support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <memory>

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
        test::ScratchFolder scratch;
        const auto path = cli::firstFreeShotName(scratch.path(), format);
        ASSERT_TRUE(path);
        std::ofstream(*path, std::ios::binary) << "another capture's shot";

        const SaveResult saved = cli::saveShot(*path, *record, format, "2026-01-02 03:04:05");
        const std::string kind(cli::extensionOf(format));
        EXPECT_FALSE(saved.saved) << kind;
        EXPECT_FALSE(saved.reason.empty()) << kind;
        EXPECT_TRUE(contentsOf(*path) == "another capture's shot") << kind;
        EXPECT_EQ(scratch.names(), std::set<std::string>{path->filename().string()}) << kind;
    }
}

} // namespace
} // namespace kavlon
