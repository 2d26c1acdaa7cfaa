// Declaration scanning: what counts as a parameter of a source and what does not.
#include "shading/SourceDeclarations.h"

#include <gtest/gtest.h>

namespace korvath {
namespace {

std::vector<std::string> names(const std::string& source) {
    std::vector<std::string> result;
    for (const SourceDeclaration& declaration : findDeclarations(source)) {
        result.push_back(declaration.name);
    }
    return result;
}

using Names = std::vector<std::string>;

TEST(SourceDeclarations, UniformsAndInputsInSourceOrderWithTypeAndStorage) {
    const auto found = findDeclarations("#version 450 compatibility\n"
                                        "uniform mat4 modelViewProj;\n"
                                        "in vec2 initTime;\n"
                                        "uniform sampler2D texture;\n");
    ASSERT_EQ(3u, found.size());
    EXPECT_EQ("modelViewProj", found[0].name);
    EXPECT_EQ("mat4", found[0].type);
    EXPECT_EQ(StorageKind::Uniform, found[0].storage);
    EXPECT_EQ("initTime", found[1].name);
    EXPECT_EQ(StorageKind::Input, found[1].storage);
    EXPECT_EQ("sampler2D", found[2].type);
}

TEST(SourceDeclarations, QualifiersBeforeTheDeclarationAreAllowed) {
    EXPECT_EQ(Names({"a", "b", "c", "d"}), names("layout(location = 3) in vec3 a;\n"
                                                 "layout(binding=1, std140) uniform highp vec4 b;\n"
                                                 "flat in float c;\n"
                                                 "uniform layout(location = 2) vec2 d;\n"));
}

TEST(SourceDeclarations, SeveralNamesArraysAndInitialisers) {
    EXPECT_EQ(Names({"x", "y", "z", "w"}),
              names("uniform float x, y = 2.0;\nuniform vec3 z[4], w = vec3(1.0, 2.0, 3.0);\n"));
}

TEST(SourceDeclarations, OnlyTopLevelDeclarationsCount) {
    EXPECT_EQ(Names({"kept", "after"}),
              names("uniform float kept;\n"
                    "vec3 helper(in vec3 argument) { vec3 local; return argument; }\n"
                    "uniform Lights { vec4 blockMember; } lights;\n"
                    "struct Material { float shininess; };\n"
                    "void main() { if (true) { float inner; } }\n"
                    "uniform vec4 after;\n"));
}

TEST(SourceDeclarations, CommentsPreprocessorLinesAndOtherStorageAreIgnored) {
    EXPECT_EQ(Names({"real"}), names("// uniform float lineComment;\n"
                                     "/* uniform float blockComment;\n in vec2 spanning; */\n"
                                     "#define SIZE \\\n uniform float continued;\n"
                                     "out gl_PerVertex { vec4 gl_Position; };\n"
                                     "in vec4 gl_Color;\n"
                                     "out vec3 varying;\n"
                                     "const float constant = 1.0;\n"
                                     "precision highp float;\n"
                                     "uniform float/* inline */real;\n"));
}

TEST(SourceDeclarations, MalformedTextYieldsWhatIsWellFormed) {
    EXPECT_EQ(Names({"first"}), names("uniform vec2 first;\nuniform in float both;\nuniform ;\n"
                                      "void broken() { uniform float never;"));
    EXPECT_TRUE(names("").empty());
    EXPECT_TRUE(names("/* unterminated uniform float a;").empty());
}

} // namespace
} // namespace korvath
