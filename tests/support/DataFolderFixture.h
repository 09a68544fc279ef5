#pragma once

#include "support/TestEnvironment.h"

#include <QByteArray>
#include <QFile>
#include <cstdlib>
#include <gtest/gtest.h>

// Points the data folder and the runtime folder at fresh temporary folders.
class DataFolderFixture : public testing::Test {
protected:
    void SetUp() override
    {
        setenv("ORVANTA_DATA_DIR", (temp_ / "Orvanta").c_str(), 1);
        setenv("XDG_RUNTIME_DIR", temp_.path().c_str(), 1);
    }

    std::filesystem::path recordPath(const char* kind) const
    {
        return temp_ / "Orvanta" / (std::string(kind) + "_Orvanta.bin");
    }

    void writeRaw(const char* kind, const QByteArray& content) const
    {
        std::filesystem::create_directories(temp_ / "Orvanta");
        QFile file(recordPath(kind));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

    QByteArray readRaw(const char* kind) const
    {
        QFile file(recordPath(kind));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    orvanta::test::TempDir temp_;
};
