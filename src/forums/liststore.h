#pragma once

#include <QStringList>

#include "base/datafolder.h"
#include "base/textfile.h"
#include "forums/listfiles.h"

class Forums;
class OwnPosts;

// Reads the own posts, their sizes and the forums from the data folder and writes them back. A list file that
// existed but could not be read at loading is never written over, so nothing in it is lost; the own posts and
// their sizes go together, so neither is written when one of them could not be read.
class ListStore
{
public:
    explicit ListStore(const DataFolder &folder);

    // Fills both lists; the files that could not be read come back as "path: reason" lines.
    // legacy: the code page of lines older versions wrote that are not UTF-8.
    QStringList load(OwnPosts *posts, Forums *forums, const LegacyCodePage &legacy = {});

    // Each is true as well when the file is left alone because it could not be read.
    // The own posts and their sizes as one: either both files are replaced or neither is.
    bool savePostsAndSizes(const OwnPosts &posts, ListFiles::WriteError *error = nullptr);
    bool saveForums(const Forums &forums, ListFiles::WriteError *error = nullptr);

private:
    bool postsAndSizesHeld() const;

    DataFolder m_folder;
    QStringList m_unreadable;
};
