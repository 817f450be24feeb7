#pragma once
// The certificate book: every company's key, request and certificate of a
// folder tree, grouped by key pair, each group with one state. The folder is
// only read, never changed; link loops, unreadable folders, devices, huge
// files and very deep trees are bounded.

#include "BookReading.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>

// In order of urgency: the first ones need attention first.
enum class TBookState {
    Expired,               // vencido
    ExpiresSoon,           // por-vencer
    KeyDamaged,            // clave-dañada
    NoKey,                 // sin-clave
    NotIssuedByAuthority,  // no-emitido-por-afip
    Unreadable,            // ilegible
    RequestPending,        // pedido-pendiente
    Valid,                 // vigente
    Replaced,              // reemplazado
};

// The fixed word for scripts ("vigente", "por-vencer", ...).
QString StateWord(TBookState State);
// The Spanish text the window shows.
QString StateText(TBookState State);
// Whether the state asks the user to act (the command's exit 1).
bool NeedsAttention(TBookState State);

// One key pair and what belongs to it.
struct TBookGroup
{
    TBookState State = TBookState::Unreadable;
    QString Reason;              // why, for ilegible and clave-dañada
    QString Company;             // organizationName of the request, else of the origin file
    QString Holder;              // CN
    QString CUIT;                // digits
    bool CUITValid = false;
    bool HasCertificate = false;
    TIssuerKind Environment = TIssuerKind::Other; // by the verdict of the certificate
    TIssuerVerdict Verdict = TIssuerVerdict::OtherIssuer;
    QDateTime ValidUntil;        // UTC
    int DaysLeft = 0;
    QString KeyFile;             // absolute paths; empty when absent
    bool KeyIsKeptCopy = false;
    QString RequestFile;
    QString CertificateFile;
    QString SourceFile;
    QStringList Files;           // every file of the group, absolute, sorted
    QByteArray PublicKey;        // DER; empty for a group of one unreadable file
    // A set in a renewal folder: the certificate of the folder above it that
    // it is to replace (same CUIT and holder); empty for any other group.
    QString RenewalOf;
    // A certificate with a renewal under way: that renewal's folder, and
    // whether the renewal's own certificate has arrived there.
    QString RenewalFolder;
    bool RenewalHasCertificate = false;
};

// Bounds of the walk.
struct TBookLimits
{
    qint64 MaxFileSize = 4 * 1024 * 1024;
    int MaxDepth = 16;
    int MaxFiles = 100000;
};

// The files of a folder tree worth reading, and what was skipped.
struct TBookListing
{
    bool RootReadable = false;
    QString RootReason;          // why the folder itself cannot be read
    QStringList Files;           // absolute, sorted folder by folder
    QStringList Folders;         // every folder walked (for watching)
    QStringList UnreadableFolders;
    QStringList Notes;           // Spanish, one a skipped file or bound reached
};

// Walks Folder. Cancel, when set, stops the walk.
TBookListing ListBookFolder(const QString &Folder, const TBookLimits &Limits = TBookLimits(),
                            const std::atomic<bool> *Cancel = nullptr);

// One file read.
struct TBookRead
{
    QString File;
    bool Readable = true;
    QString Reason;              // when not readable
    TBookFile Content;
};

TBookRead ReadBookEntry(const QString &File, const TAuthorityKeys &Authorities,
                        qint64 MaxFileSize = TBookLimits().MaxFileSize);

// Groups what was read and judges each group at Now; sorted by urgency
// (state, then fewer days left, then company), each renewal right after the
// certificate it is to replace.
QList<TBookGroup> GroupBook(const QList<TBookRead> &Reads, const QStringList &UnreadableFolders,
                            const QDateTime &Now);

struct TBook
{
    TBookListing Listing;
    QList<TBookGroup> Groups;
    bool Cancelled = false;
};

// The whole book of Folder. Progress(done, total, groups so far) is called
// now and then while it reads (at folder boundaries); Cancel stops it.
TBook ReadBook(const QString &Folder, const QDateTime &Now = QDateTime::currentDateTimeUtc(),
               const std::function<void(int, int, const QList<TBookGroup> &)> &Progress = nullptr,
               const std::atomic<bool> *Cancel = nullptr,
               const TBookLimits &Limits = TBookLimits());

// What the group has to do with a renewal, in Spanish: "renovación de
// alias.crt" for a renewal's set, "renovación pendiente en «Renovación
// AAAA-MM-DD»" for a certificate whose renewal waits for its certificate, and
// so on; empty when nothing.
QString RenewalNote(const TBookGroup &Group);

// True when some group needs attention.
bool BookNeedsAttention(const QList<TBookGroup> &Groups);
