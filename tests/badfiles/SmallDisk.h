// A small tmpfs mounted for one test (needs root), and a read-only file that stays
// read-only for root too (the immutable attribute).
#pragma once

#include <QString>
#include <QTemporaryDir>

class SmallDisk {
public:
    explicit SmallDisk(int kilobytes);
    ~SmallDisk();
    bool mounted() const { return mounted_; }
    QString path() const { return dir_.path(); }
    // Fills the disk until at most `leaveBytes` remain free.
    bool FillLeaving(qint64 leaveBytes);

private:
    QTemporaryDir dir_;
    bool mounted_ = false;
};

// Makes the file refuse writing; false when this machine cannot.
bool MakeReadOnly(const QString& path);
void MakeWritable(const QString& path);
