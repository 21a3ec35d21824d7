#pragma once

#include <QObject>
#include <QString>

#include <filesystem>
#include <functional>
#include <string>

// Where the window keeps a broker's password: the desktop's secret store
// (through QtKeychain) where one runs, else a file of its own that only its
// owner may read, beside the configuration file. Never the configuration
// file. Every call answers on the window's thread and none waits: the secret
// store has kAnswerMs to answer before the file is used instead.
class PasswordStore : public QObject {
    Q_OBJECT
public:
    static constexpr int kAnswerMs = 5000;

    explicit PasswordStore(std::filesystem::path file, QObject* parent = nullptr);

    // Without the secret store: only the file (a desktop without one, tests).
    void setKeychainUsed(bool used) { m_bKeychain = used; }
    const std::filesystem::path& file() const { return m_file; }

    // The password kept for `account` (empty: none) to `done`.
    void read(const QString& account, std::function<void(std::string)> done);
    // Keeps `password` for `account`; `done` gets an empty text or why it
    // could not be kept.
    void write(const QString& account, const std::string& password,
               std::function<void(QString)> done);

private:
    std::filesystem::path m_file;
    bool m_bKeychain = true;
};
