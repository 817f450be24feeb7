#pragma once
// The last part of a program's output, as the program runner keeps it while
// the program runs (each system reads its pipe and appends here).

#include <QByteArray>

#include <algorithm>

class TOutputTail
{
public:
    explicit TOutputTail(int Limit) : FLimit(std::max(Limit, 0)) {}

    // Adds Size bytes read from the program; what is far beyond the limit is
    // dropped now so that a talkative program costs no more than that.
    void Append(const char *Data, qint64 Size)
    {
        FData.append(Data, Size);
        if (FData.size() > 2 * FLimit + kSlack)
            Trim();
    }

    // The last Limit bytes; Cut tells whether anything before them was dropped.
    QByteArray Take(bool &Cut)
    {
        Trim();
        Cut = FCut;
        return FData;
    }

private:
    static constexpr int kSlack = 8192;

    void Trim()
    {
        if (FData.size() > FLimit) {
            FData.remove(0, FData.size() - FLimit);
            FCut = true;
        }
    }

    int FLimit;
    QByteArray FData;
    bool FCut = false;
};
