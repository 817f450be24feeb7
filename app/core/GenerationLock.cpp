#include "GenerationLock.h"

#include "Exception.h"
#include "OpenSSLStep.h"
#include "Process.h"

#include <QElapsedTimer>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

std::atomic<qint64> GLockWait{120000};

// How often a waiting generation tries the lock again.
constexpr int kRetryMs = 50;

} // namespace

qint64 GenerationLockWait() { return GLockWait.load(); }

void SetGenerationLockWait(qint64 Ms) { GLockWait = Ms; }

QString GenerationLockFile(const QString &OpenSSLDir)
{
    return OpenSSLDir + QStringLiteral("vemra.cnf.lock");
}

TGenerationLock::TGenerationLock(const QString &OpenSSLDir, const QString &UnableMessage,
                                 const std::function<void()> &Waiting)
{
    const QString file = GenerationLockFile(OpenSSLDir);
    QString error;
    TLockResult result = FLock.TryLock(file, error);
    if (result == TLockResult::Busy) {
        if (Waiting)
            Waiting();
        const qint64 limit = GenerationLockWait();
        TWaitRunner *runner = CurrentWaitRunner();
        bool cancelled = false;
        const auto wait = [&] {
            QElapsedTimer waited;
            waited.start();
            while (result == TLockResult::Busy && waited.elapsed() < limit) {
                if (runner && runner->Cancelled()) {
                    cancelled = true;
                    return;
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(kRetryMs));
                result = FLock.TryLock(file, error);
            }
        };
        if (runner)
            runner->Run(wait);
        else
            wait();
        if (cancelled)
            throw EAbort();
        if (result == TLockResult::Busy)
            throw Exception(
                QStringLiteral("Hay otra generación de pedido de certificado en curso y no "
                               "terminó en %1. Vuelva a intentarlo cuando haya terminado.")
                    .arg(Seconds(limit)),
                QStringLiteral("La carpeta de OpenSSL %1 sigue en uso por otra generación "
                               "(archivo de bloqueo %2).")
                    .arg(OpenSSLDir, file));
    }
    if (result == TLockResult::Failed)
        throw Exception(UnableMessage, QStringLiteral("No se pudo crear o bloquear el archivo "
                                                      "%1, que reserva la carpeta de OpenSSL "
                                                      "para una sola generación a la vez: %2.")
                                           .arg(file, error));
}
