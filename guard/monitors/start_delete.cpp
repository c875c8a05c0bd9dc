#include "guard/monitors/start_delete.h"

#include "guard/control/face_pages.h"

namespace zorvix {

std::optional<std::wstring> StartDeleteProblem(StartDelete result, std::wstring_view valueName,
                                               std::wstring_view location) {
  switch (result) {
    case StartDelete::Deleted:
    case StartDelete::Missing: return std::nullopt;
    case StartDelete::Refused: return DeleteStartFailedText(valueName, location);
  }
  return std::nullopt;
}

}  // namespace zorvix
