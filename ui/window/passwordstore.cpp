#include "ui/window/passwordstore.h"

#include "core/publish/passwordfile.h"

#include <QTimer>

#include <qt6keychain/keychain.h>

#include <memory>
#include <system_error>
#include <utility>

namespace {

const QString kService = QStringLiteral("Orvane");

// Runs `job` and gives `done` its outcome, or a timeout after kAnswerMs:
// whichever comes first, once.
void runBounded(QKeychain::Job* job, QObject* context, std::function<void(QKeychain::Job*)> done) {
    auto answered = std::make_shared<bool>(false);
    auto finish = [answered, done = std::move(done)](QKeychain::Job* j) {
        if (std::exchange(*answered, true))
            return;
        done(j);
    };
    job->setAutoDelete(true);
    QObject::connect(job, &QKeychain::Job::finished, context, finish);
    QTimer::singleShot(PasswordStore::kAnswerMs, context, [finish] { finish(nullptr); });
    job->start();
}

} // namespace

PasswordStore::PasswordStore(std::filesystem::path file, QObject* parent)
    : QObject(parent), m_file(std::move(file)) {}

void PasswordStore::read(const QString& account, std::function<void(std::string)> done) {
    std::error_code ec;
    if (!m_bKeychain || std::filesystem::exists(m_file, ec)) {
        const Result<PasswordFile> kept = readPasswordFile(m_file);
        done(kept ? kept->password : std::string());
        return;
    }
    auto* job = new QKeychain::ReadPasswordJob(kService);
    job->setKey(account);
    runBounded(job, this, [done = std::move(done)](QKeychain::Job* j) {
        const auto* read = static_cast<QKeychain::ReadPasswordJob*>(j);
        done(read && read->error() == QKeychain::NoError ? read->textData().toStdString()
                                                         : std::string());
    });
}

void PasswordStore::write(const QString& account, const std::string& password,
                          std::function<void(QString)> done) {
    const auto toFile = [this, password, done] {
        std::error_code ec;
        if (password.empty()) {
            std::filesystem::remove(m_file, ec);
            done(ec ? QString::fromStdString(ec.message()) : QString());
            return;
        }
        const Result<> kept = writePasswordFile(m_file, password);
        done(kept ? QString() : QString::fromStdString(kept.error()));
    };
    if (!m_bKeychain) {
        toFile();
        return;
    }
    QKeychain::Job* job = nullptr;
    if (password.empty()) {
        job = new QKeychain::DeletePasswordJob(kService);
    } else {
        auto* writeJob = new QKeychain::WritePasswordJob(kService);
        writeJob->setTextData(QString::fromStdString(password));
        job = writeJob;
    }
    job->setKey(account);
    runBounded(job, this, [this, toFile, done](QKeychain::Job* j) {
        if (!j || (j->error() != QKeychain::NoError && j->error() != QKeychain::EntryNotFound)) {
            toFile(); // no secret store here
            return;
        }
        // In the secret store: no copy stays in the file.
        std::error_code ec;
        std::filesystem::remove(m_file, ec);
        done(QString());
    });
}
