// How long the certificate book takes to read a practice's folder, and how
// long the "Mis certificados" window's event loop is held up meanwhile.
//
// The tree is made once, in-process with libcrypto: Companies companies (a
// 2048-bit key, its request and a certificate of a local authority each, in
// a folder of their own), a kept copy (.bak) of the key of the first 200,
// and an expired certificate of the same key beside the first 300. The
// authority's public key is what ZEDEDE_AUTORIDADES names.
//
// Figures, median of Runs runs each:
//   book      ReadBook of the whole tree (the table);
//   baseline  one openssl process per file, one after the other (x509, req
//             or pkey, -noout), as a reader driving the program would;
//   ratio     baseline / book;
//   stall     the window reading the tree: the longest gap between the ticks
//             of a 5 ms timer, from OpenFolder until ReadingFinished.
//
//   QT_QPA_PLATFORM=offscreen bench_CertificateBook [runs, default 5]
//
// Ends with 1 when the tree could not be made or the book misread it. In the
// short mode (BenchSmoke.h) 6 companies and one run.

#include "BenchSmoke.h"
#include "BookModel.h"
#include "BookWindow.h"
#include "CertificateBook.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/rsa.h>
#include <openssl/x509.h>

#include <algorithm>
#include <functional>
#include <thread>
#include <cstdio>
#include <vector>

namespace {

EVP_PKEY *NewKey()
{
    return EVP_RSA_gen(2048);
}

bool WriteBio(const QString &APath, const std::function<int(BIO *)> &AWrite)
{
    BIO *bio = BIO_new_file(QFile::encodeName(APath).constData(), "w");
    const bool ok = bio && AWrite(bio) == 1;
    BIO_free(bio);
    return ok;
}

X509_NAME *Name(const QList<QPair<const char *, QString>> &AEntries)
{
    X509_NAME *n = X509_NAME_new();
    for (const auto &e : AEntries) {
        const QByteArray v = e.second.toUtf8();
        X509_NAME_add_entry_by_txt(n, e.first, MBSTRING_UTF8,
                                   reinterpret_cast<const unsigned char *>(v.constData()), -1, -1, 0);
    }
    return n;
}

X509 *Certificate(EVP_PKEY *AKey, X509_NAME *ASubject, EVP_PKEY *ACaKey, X509_NAME *AIssuer,
                  long AFromDays, long AToDays, long ASerial)
{
    X509 *x = X509_new();
    X509_set_version(x, 2);
    ASN1_INTEGER_set(X509_get_serialNumber(x), ASerial);
    X509_gmtime_adj(X509_getm_notBefore(x), AFromDays * 86400L);
    X509_gmtime_adj(X509_getm_notAfter(x), AToDays * 86400L);
    X509_set_subject_name(x, ASubject);
    X509_set_issuer_name(x, AIssuer);
    X509_set_pubkey(x, AKey);
    X509_sign(x, ACaKey, EVP_sha512());
    return x;
}

struct TTree
{
    QString Root, Folder, Authorities;
    int Files = 0;
};

bool MakeTree(const QString &ARoot, int ACompanies, TTree &ATree)
{
    ATree.Root = ARoot;
    ATree.Folder = ARoot + "/Mis certificados";
    ATree.Authorities = ARoot + "/autoridades";
    QDir().mkpath(ATree.Authorities);
    EVP_PKEY *ca = NewKey();
    X509_NAME *issuer = Name({{"C", "AR"}, {"O", "AFIP"}, {"CN", "Computadores"}});
    if (!ca || !WriteBio(ATree.Authorities + "/autoridad.pem",
                         [ca](BIO *b) { return PEM_write_bio_PUBKEY(b, ca); }))
        return false;
    // The keys first, on every core: their generation is most of the making.
    std::vector<EVP_PKEY *> keys(static_cast<size_t>(ACompanies), nullptr);
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    std::vector<std::thread> makers;
    for (unsigned t = 0; t < cores; ++t)
        makers.emplace_back([&keys, t, cores] {
            for (size_t i = t; i < keys.size(); i += cores)
                keys[i] = NewKey();
        });
    for (std::thread &t : makers)
        t.join();
    for (int i = 0; i < ACompanies; ++i) {
        const QString company = QStringLiteral("Empresa %1 SA").arg(i);
        const QString holder = QStringLiteral("alias%1").arg(i);
        const QString dir = ATree.Folder + QStringLiteral("/%1").arg(company);
        QDir().mkpath(dir);
        const QString suffix = QStringLiteral("Empresa%1SA_alias%1").arg(i);
        EVP_PKEY *key = keys[size_t(i)];
        if (!key)
            return false;
        X509_NAME *subject = Name({{"C", "AR"}, {"O", company}, {"serialNumber", "CUIT 20123456786"},
                                   {"CN", holder}});
        X509_REQ *req = X509_REQ_new();
        X509_REQ_set_subject_name(req, subject);
        X509_REQ_set_pubkey(req, key);
        X509_REQ_sign(req, key, EVP_sha256());
        X509 *crt = Certificate(key, subject, ca, issuer, -30, 700 - i, 1000 + i);
        bool ok = WriteBio(dir + "/Privada_" + suffix + ".key",
                           [key](BIO *b) { return PEM_write_bio_PrivateKey_traditional(b, key, nullptr, nullptr, 0, nullptr, nullptr); })
                  && WriteBio(dir + "/Pedido_" + suffix + ".req",
                              [req](BIO *b) { return PEM_write_bio_X509_REQ(b, req); })
                  && WriteBio(dir + "/" + holder + ".crt", [crt](BIO *b) { return PEM_write_bio_X509(b, crt); });
        ATree.Files += 3;
        if (ok && i < 200) {
            ok = QFile::copy(dir + "/Privada_" + suffix + ".key",
                             dir + "/Privada_" + suffix + ".key.20240101-100000.bak");
            ++ATree.Files;
        }
        if (ok && i < 300) {
            X509 *old = Certificate(key, subject, ca, issuer, -760, -30, 5000 + i);
            ok = WriteBio(dir + "/" + holder + "-2024.crt", [old](BIO *b) { return PEM_write_bio_X509(b, old); });
            X509_free(old);
            ++ATree.Files;
        }
        X509_free(crt);
        X509_REQ_free(req);
        X509_NAME_free(subject);
        EVP_PKEY_free(key);
        if (!ok)
            return false;
    }
    X509_NAME_free(issuer);
    EVP_PKEY_free(ca);
    return true;
}

double Median(std::vector<double> AValues)
{
    std::sort(AValues.begin(), AValues.end());
    return AValues.empty() ? 0 : AValues[AValues.size() / 2];
}

// One openssl process per file, as a reader of the program's output would.
bool Baseline(const TBookListing &AListing)
{
    for (const QString &f : AListing.Files) {
        QStringList args;
        if (f.endsWith(".crt"))
            args = {"x509", "-in", f, "-noout", "-subject", "-issuer", "-enddate", "-pubkey"};
        else if (f.endsWith(".req"))
            args = {"req", "-in", f, "-noout", "-subject", "-pubkey"};
        else
            args = {"pkey", "-in", f, "-noout", "-check"};
        QProcess p;
        p.start("openssl", args);
        if (!p.waitForFinished(30000) || p.exitCode() != 0)
            return false;
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int runs = BenchRepetitions(argc > 1 ? std::max(1, atoi(argv[1])) : 5);
    const int companies = BenchSmoke() ? 6 : 500;
    QTemporaryDir dir;
    TTree tree;
    QElapsedTimer made;
    made.start();
    if (!dir.isValid() || !MakeTree(dir.path(), companies, tree)) {
        std::fprintf(stderr, "the tree could not be made\n");
        return 1;
    }
    qputenv("ZEDEDE_AUTORIDADES", tree.Authorities.toUtf8());
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    std::printf("tree: %d companies, %d files, made in %.1f s\n", companies, tree.Files,
                made.elapsed() / 1000.0);

    std::vector<double> book, baseline, stall;
    for (int r = 0; r < runs; ++r) {
        QElapsedTimer t;
        t.start();
        const TBook b = ReadBook(tree.Folder);
        book.push_back(t.nsecsElapsed() / 1e6);
        if (b.Groups.size() != companies || b.Listing.Files.size() != tree.Files
            || std::any_of(b.Groups.begin(), b.Groups.end(),
                           [](const TBookGroup &g) { return g.State != TBookState::Valid; })) {
            std::fprintf(stderr, "the book misread the tree (%d groups)\n", int(b.Groups.size()));
            return 1;
        }
        t.restart();
        if (!Baseline(b.Listing)) {
            std::fprintf(stderr, "the baseline's openssl failed\n");
            return 1;
        }
        baseline.push_back(t.nsecsElapsed() / 1e6);

        TfrmCertificados window;
        window.show();
        QElapsedTimer beat;
        double longest = 0;
        QTimer heartbeat;
        heartbeat.setInterval(5);
        QObject::connect(&heartbeat, &QTimer::timeout, [&] {
            longest = std::max(longest, beat.nsecsElapsed() / 1e6);
            beat.restart();
        });
        bool done = false;
        QObject::connect(&window, &TfrmCertificados::ReadingFinished, [&] { done = true; });
        beat.start();
        heartbeat.start();
        window.OpenFolder(tree.Folder);
        while (!done)
            app.processEvents(QEventLoop::WaitForMoreEvents);
        heartbeat.stop();
        stall.push_back(longest);
        if (window.Model()->rowCount() != companies) {
            std::fprintf(stderr, "the window shows %d rows\n", window.Model()->rowCount());
            return 1;
        }
    }
    const double b = Median(book), base = Median(baseline);
    std::printf("book (whole table):         %8.1f ms  (median of %d)\n", b, runs);
    std::printf("baseline (openssl per file): %8.1f ms\n", base);
    std::printf("ratio baseline / book:       %8.1f\n", b > 0 ? base / b : 0.0);
    std::printf("window's longest stall:      %8.1f ms\n", Median(stall));
    return 0;
}
