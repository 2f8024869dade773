#include "pickers/backdrops/NoticeKinds.h"

#include "pickers/backdrops/BackdropTexts.h"

namespace zephrin {

bool NoticeKinds::isSuccess(const QString& notice) const
{
    return backdroptexts::isSuccessNotice(notice);
}

} // namespace zephrin
