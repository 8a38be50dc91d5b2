#pragma once

#include <QSet>
#include <QString>
#include <QStringList>

#include <utility>

// The files of dropped or named folders, as a track list takes them: recursively, in the
// natural order of their paths ("2 Song" before "10 Song"), without hidden files and folders,
// without the pictures, texts and lists that lie beside the music.
namespace folderreader {

// One drop (or one command line) takes at most this many files from its folders.
constexpr int kMaxFiles = 20000;

class FolderReader {
public:
    // Appends the files of folder (and of its folders) to files, in natural order. A folder
    // already read in this reader (also by a link to it) is read no more. Past kMaxFiles, the
    // rest is left out and one line saying so goes to skipped.
    void read(const QString& folder, QStringList& files, QStringList& skipped);

    bool isFull() const { return m_full; }

private:
    QSet<std::pair<quint64, quint64>> m_seen;
    int m_taken = 0;
    bool m_full = false;
};

// a, b in natural order: numbers by their value, then letters without regard to case, then
// the plain text, so that no two different names compare equal
bool naturalLess(const QString& a, const QString& b);

} // namespace folderreader
