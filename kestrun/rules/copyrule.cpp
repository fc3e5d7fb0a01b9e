#include "kestrun/rules/copyrule.h"

CopyState JudgeCopy(const FileFacts& source, const FileFacts& copy) {
    if (!copy.plainFile) return CopyState::Missing;
    if (!source.plainFile || copy.size != source.size) return CopyState::StaleBySize;
    if (copy.lastWrite != source.lastWrite) return CopyState::StaleByTime;
    return CopyState::Current;
}
