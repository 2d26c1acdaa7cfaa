// The image header check on the shared cases (every size class that crashed
// the image library among them) and the shipped files, and the bounded file
// read in front of it.
#include "image/ImageHeaderCheck.h"
#include "ImageHeaderCases.h"
#include "ScratchFiles.h"
#include "image/ImageFile.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <fstream>
#include <string>

namespace korvath {
namespace {

TEST(ImageHeaderCheck, GivesEachCaseItsVerdictAndSize) {
    for (const ImageHeaderCase& c : imageHeaderCases()) {
        const ImageHeaderCheck check = checkImageHeader(c.bytes.data(), c.bytes.size());
        EXPECT_EQ(check.problem, c.problem) << c.name;
        if (c.problem.empty()) {
            EXPECT_EQ(check.header.width, c.width) << c.name;
            EXPECT_EQ(check.header.height, c.height) << c.name;
        }
    }
    for (const auto& [path, format] : {std::pair{"data/particle/ash.bmp", ImageFormat::Bmp},
                                       std::pair{"data/model/flieger.jpg", ImageFormat::Jpeg}}) {
        const Bytes bytes = test::readFileBytes(path);
        const ImageHeaderCheck check = checkImageHeader(bytes.data(), bytes.size());
        EXPECT_EQ(check.problem, "") << path;
        EXPECT_EQ(check.header.format, format) << path;
    }
}

TEST(ImageFile, ReadsOnlyRegularFilesWithinTheBound) {
    const test::ScratchDirectory directory;
    const std::string fifo = directory.file("fifo.bmp");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    // Sparse: one byte beyond the bound without writing 64 MiB.
    const std::string large = directory.file("large.jpg");
    std::ofstream(large).close();
    std::filesystem::resize_file(large, maxImageFileBytes + 1);
    const std::string sprite = "data/particle/ash.bmp";

    const struct {
        std::string path;
        std::string problem;
    } cases[] = {
        {directory.file("missing.bmp"), "No such file or directory"},
        {directory.path().string(), "not a regular file"},
        {fifo, "not a regular file"}, // and no wait for a writer
        {large, "file is 67108865 bytes, more than the limit of 67108864"},
    };
    for (const auto& c : cases) {
        const BoundedFileRead read = readImageFile(c.path);
        EXPECT_EQ(read.problem, c.problem) << c.path;
        EXPECT_TRUE(read.bytes.empty()) << c.path;
    }
    const BoundedFileRead read = readImageFile(sprite);
    EXPECT_EQ(read.problem, "");
    EXPECT_EQ(read.bytes.size(), 12342u);
    EXPECT_EQ(read.bytes, test::readFileBytes(sprite));
}

} // namespace
} // namespace korvath
