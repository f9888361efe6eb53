// The player's failure notices, once per kind.
#include "platform/notices.h"

#include <array>
#include <atomic>
#include <iterator>

#include "platform/log.h"
#include "platform/messages.h"

namespace skerrow::platform {
namespace {

struct NoticeRow {
  Failure kind;
  const char* text;
};

constexpr NoticeRow kNotices[] = {
    {Failure::kSave,
     "Не удалось сохранить игру: диск переполнен или папка сохранений недоступна для записи. "
     "Игра продолжается, но эта запись не сохранена."},
    {Failure::kSettingsRead,
     "Не удалось прочитать файл настроек settings.dat: игра запущена с настройками по "
     "умолчанию."},
    {Failure::kSettingsWrite,
     "Не удалось записать файл настроек settings.dat: новые настройки действуют только до "
     "выхода из игры."},
    {Failure::kScreenshot,
     "Не удалось записать снимок экрана: папка снимков недоступна для записи или диск "
     "переполнен."},
    {Failure::kPlayerFolder,
     "Не удалось создать папку для файлов игрока: настройки, сохранения и журнал могут не "
     "записаться."},
};
static_assert(std::size(kNotices) == static_cast<size_t>(Failure::kCount),
              "a notice per kind of failure");

std::array<std::atomic<bool>, static_cast<size_t>(Failure::kCount)>& Shown() {
  static std::array<std::atomic<bool>, static_cast<size_t>(Failure::kCount)> shown{};
  return shown;
}

}  // namespace

std::string FailureNotice(Failure kind) {
  for (const NoticeRow& row : kNotices) {
    if (row.kind == kind) return row.text;
  }
  return {};
}

bool ReportFailure(Failure kind, const std::string& detail) {
  Log(detail);
  const size_t k = static_cast<size_t>(kind);
  if (k >= Shown().size() || Shown()[k].exchange(true)) return false;
  ShowMessage("Skerrow", FailureNotice(kind));
  return true;
}

void ResetFailureNotices() {
  for (auto& shown : Shown()) shown = false;
}

}  // namespace skerrow::platform
