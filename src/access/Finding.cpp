#include "Finding.h"

#include <algorithm>

#include "TextIds.h"

bool NeedsAttention(const std::vector<Finding>& findings) {
  return std::any_of(findings.begin(), findings.end(),
                     [](const Finding& f) { return f.attention; });
}

std::vector<Finding> PathFindings(const CheckedPath& path) {
  switch (path.problem) {
    case FileProblem::None:
      return {};
    case FileProblem::Missing:
      return {{IDS_CHECK_MISSING, {}, true}};
    case FileProblem::MissingDrive:
      return {{IDS_CHECK_NO_DRIVE, {path.detail}, true}};
    case FileProblem::Folder:
      return {{IDS_CHECK_IS_FOLDER, {}, true}};
    case FileProblem::OpenExclusively:
      return {{IDS_CHECK_OPEN_EXCLUSIVELY, {}, true}};
    case FileProblem::Unreadable:
      break;
  }
  return {{IDS_CHECK_UNREADABLE, {path.detail}, true}};
}
