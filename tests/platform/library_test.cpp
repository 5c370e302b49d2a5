#include "platform/library.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>

namespace {

using StrLen = std::size_t (*)(const char*);

// A library every machine of the system has, with the C library's strlen in it.
#ifdef _WIN32
const std::string systemLibrary = "msvcrt.dll";
#else
const std::string systemLibrary = "libc.so.6";
#endif

TEST(Library, AMissingFileIsNotLoaded)
{
    testing_support::TempFolder folder;
    platform::Library library(folder.path() + "Vistrel.DLL");
    EXPECT_FALSE(library.loaded());
    EXPECT_NE(library.errorText().find("Vistrel.DLL"), std::string::npos) << library.errorText();
    EXPECT_EQ(library.symbol("ShowForm"), nullptr);
}

TEST(Library, AFileThatIsNoLibraryIsNotLoaded)
{
    testing_support::TempFolder folder;
    std::ofstream(folder.path() + "Vistrel.DLL") << "not a shared object";
    platform::Library library(folder.path() + "Vistrel.DLL");
    EXPECT_FALSE(library.loaded());
    // The loader's own reason, with the file it was about.
    EXPECT_NE(library.errorText().find("Vistrel.DLL"), std::string::npos) << library.errorText();
}

TEST(Library, EntriesAreFoundByName)
{
    platform::Library library(systemLibrary);
    ASSERT_TRUE(library.loaded()) << library.errorText();
    const auto strlen = reinterpret_cast<StrLen>(library.symbol("strlen"));
    ASSERT_NE(strlen, nullptr);
    EXPECT_EQ(strlen("ShowForm"), 8u);
    EXPECT_EQ(library.symbol("ShowForm"), nullptr);
}

TEST(Library, OwnershipMovesAndUnloadReleases)
{
    platform::Library first(systemLibrary);
    ASSERT_TRUE(first.loaded());
    platform::Library second(std::move(first));
    EXPECT_FALSE(first.loaded());
    EXPECT_TRUE(second.loaded());
    platform::Library third;
    EXPECT_FALSE(third.loaded());
    third = std::move(second);
    EXPECT_TRUE(third.loaded());
    EXPECT_NE(third.symbol("strlen"), nullptr);
    third.unload();
    EXPECT_FALSE(third.loaded());
    EXPECT_EQ(third.symbol("strlen"), nullptr);
}

} // namespace
