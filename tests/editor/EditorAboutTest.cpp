#include "editor/EditorAbout.h"

#include "platform/VersionBlock.h"

#include <gtest/gtest.h>

using namespace pelvo;
using platform::VersionBlock;

TEST(EditorAbout, TheMainProgramsLinesThenTheEditorsOwnAndNothingForAFileWithoutABlock)
{
    const VersionBlock main = VersionBlock::ofFile(QStringLiteral(ZENTAVO_FILE));
    ASSERT_FALSE(main.isEmpty());
    const QString mainLines = main.productName() + u' ' + main.productVersion()
        + QStringLiteral("\nBackup of files into ZIP archives\nFile version ") + main.fileVersion();
    EXPECT_TRUE(mainLines.startsWith(QStringLiteral("The Zentavo ")));

    const VersionBlock none = VersionBlock::ofFile(QStringLiteral("/no/such/program"));
    EXPECT_EQ(EditorAboutText(main, main),
              mainLines + QStringLiteral("\n\nBackup of files into ZIP archives\nFile version ") + main.fileVersion()
                  + u'\n' + main.legalCopyright());
    EXPECT_EQ(EditorAboutText(main, none), mainLines);
    EXPECT_EQ(EditorAboutText(none, main).section(u'\n', 0, 0), QStringLiteral("Backup of files into ZIP archives"));
    EXPECT_EQ(EditorAboutText(none, none), QString());
}
