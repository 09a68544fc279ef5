#include "platform/DynamicLibrary.h"
#include "telephony/EngineLibrary.h"

#include <cstring>
#include <gtest/gtest.h>

namespace {

using orvanta::platform::DynamicLibrary;

TEST(DynamicLibrary, ResolvesEntryPointsByName)
{
    DynamicLibrary library;
    ASSERT_TRUE(library.load("libc.so.6")) << library.error();
    auto length = library.resolve<size_t (*)(const char*)>("strlen");
    ASSERT_NE(length, nullptr);
    EXPECT_EQ(length("four"), 4u);
    EXPECT_EQ(library.symbol("no_such_entry_point"), nullptr);
}

TEST(DynamicLibrary, MissingFileIsAnErrorNotACrash)
{
    DynamicLibrary library;
    EXPECT_FALSE(library.load("/nonexistent/libOrvanta.so"));
    EXPECT_FALSE(library.isLoaded());
    EXPECT_NE(library.error().find("libOrvanta.so"), std::string::npos);
    EXPECT_EQ(library.symbol("dll_init"), nullptr);
}

TEST(EngineLibrary, LibraryWithoutTheEntryPointsIsRefusedAndNamesThem)
{
    orvanta::EngineLibrary engine;
    EXPECT_FALSE(engine.load("libc.so.6"));
    EXPECT_FALSE(engine.isLoaded());
    EXPECT_EQ(engine.missingEntryPoints().size(), 32u);
    EXPECT_NE(engine.error().find("dll_makeCall"), std::string::npos);
    EXPECT_EQ(engine.api().makeCall, nullptr);
}

}
