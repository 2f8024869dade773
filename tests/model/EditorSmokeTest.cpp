#include "EditorFixture.h"

namespace zephrin::testing {

TEST_F(EditorTest, OpensAPictureAndCutsItOut)
{
    openDocument();
    ASSERT_TRUE(editor->document());
    ASSERT_TRUE(editor->cutout());
    ASSERT_TRUE(editor->composite());
    EXPECT_FALSE(editor->isProcessing());
    EXPECT_EQ(editor->exportFilename(), QStringLiteral("beach-cutout"));
}

} // namespace zephrin::testing
