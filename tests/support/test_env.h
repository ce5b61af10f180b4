#pragma once

#include "platform/edition.h"
#include "platform/message_port.h"
#include "refdata/custom_settings.h"

#include <filesystem>
#include <string>

namespace tw::test {

/// A fresh empty directory made the working directory for the test's lifetime, then removed.
class ScopedWorkDir
{
public:
    ScopedWorkDir();
    ~ScopedWorkDir();
    ScopedWorkDir(const ScopedWorkDir &) = delete;
    ScopedWorkDir &operator=(const ScopedWorkDir &) = delete;

    const std::filesystem::path &path() const { return dir_; }
    std::filesystem::path file(const std::string &name) const { return dir_ / name; }

private:
    std::filesystem::path dir_;
    std::filesystem::path previous_;
};

/// A recording message port installed for the test's lifetime.
class ScopedMessages
{
public:
    ScopedMessages();
    ~ScopedMessages();
    ScopedMessages(const ScopedMessages &) = delete;
    ScopedMessages &operator=(const ScopedMessages &) = delete;

    RecordingMessagePort &port() { return port_; }
    RecordingMessagePort *operator->() { return &port_; }

private:
    RecordingMessagePort port_;
    MessagePort *previous_;
};

/// The process-wide preferences, reset to the defaults for the test and restored after it.
class ScopedSettings
{
public:
    ScopedSettings();
    ~ScopedSettings();
    ScopedSettings(const ScopedSettings &) = delete;
    ScopedSettings &operator=(const ScopedSettings &) = delete;

    CustomSettings &operator*() { return custom_settings(); }
    CustomSettings *operator->() { return &custom_settings(); }

private:
    CustomSettings saved_;
};

/// The process runs as the given edition for the test and as the previous one after it.
class ScopedEdition
{
public:
    explicit ScopedEdition(const Edition &edition);
    ~ScopedEdition();
    ScopedEdition(const ScopedEdition &) = delete;
    ScopedEdition &operator=(const ScopedEdition &) = delete;

private:
    const Edition &previous_;
};

/// A file of tests/data.
std::filesystem::path data_file(const std::string &name);

/// The whole file as a string (empty when it cannot be read).
std::string read_text(const std::filesystem::path &path);

} // namespace tw::test
