#include "settings/CodecPage.h"

#include "platform/DataFolder.h"

#include <algorithm>

namespace orvanta {

namespace {

bool listed(const QStringList& names, const QString& name)
{
    return names.contains(name, Qt::CaseInsensitive);
}

// Appends the selected entries that fit, in ascending order, then removes
// them from the source from the highest index down.
void moveSelected(QStringList& from, QStringList& to, QList<int> selected)
{
    std::sort(selected.begin(), selected.end());
    selected.erase(std::unique(selected.begin(), selected.end()), selected.end());
    QList<int> moved;
    for (const int index : selected) {
        if (index < 0 || index >= from.size() || to.size() >= kMaxCodecsPerList) {
            continue;
        }
        to.append(from.at(index));
        moved.append(index);
    }
    for (auto it = moved.crbegin(); it != moved.crend(); ++it) {
        from.removeAt(*it);
    }
}

QList<int> everyIndexOf(const QStringList& names)
{
    QList<int> indices;
    for (int i = 0; i < names.size(); ++i) {
        indices.append(i);
    }
    return indices;
}

}

void CodecPageModel::addUnlisted(QStringList& list, const QString& name)
{
    if (!listed(lists_.enabled, name) && !listed(lists_.disabled, name) &&
        list.size() < kMaxCodecsPerList) {
        list.append(name);
    }
}

void CodecPageModel::load()
{
    applyEnabled_ = false;
    const CodecFileRead read = readCodecFile();
    lists_ = CodecLists{};
    for (const QString& name : read.lists.enabled) {
        lists_.enabled.append(codecEngineName(name));
    }
    for (const QString& name : read.lists.disabled) {
        lists_.disabled.append(codecEngineName(name));
    }
    if (!read.complete) {
        for (const char* fallback : {"G729/8000/1", "G723/8000/1"}) {
            addUnlisted(lists_.enabled, QLatin1String(fallback));
        }
    }
    for (const QString& name : catalog_.availableCodecs()) {
        addUnlisted(lists_.disabled, name);
    }
}

QStringList CodecPageModel::unavailableCodecs() const
{
    const QStringList available = catalog_.availableCodecs();
    QStringList missing;
    if (available.isEmpty()) {
        return missing;
    }
    for (const QString& name : lists_.enabled) {
        if (!listed(available, name)) {
            missing.append(name);
        }
    }
    return missing;
}

void CodecPageModel::moveToEnabled(const QList<int>& selectedDisabled)
{
    applyEnabled_ = true;
    moveSelected(lists_.disabled, lists_.enabled, selectedDisabled);
}

void CodecPageModel::moveToDisabled(const QList<int>& selectedEnabled)
{
    applyEnabled_ = true;
    moveSelected(lists_.enabled, lists_.disabled, selectedEnabled);
}

void CodecPageModel::moveAllToEnabled()
{
    applyEnabled_ = true;
    moveSelected(lists_.disabled, lists_.enabled, everyIndexOf(lists_.disabled));
}

void CodecPageModel::moveAllToDisabled()
{
    applyEnabled_ = true;
    moveSelected(lists_.enabled, lists_.disabled, everyIndexOf(lists_.enabled));
}

std::optional<int> CodecPageModel::moveUp(const QList<int>& selectedEnabled)
{
    return moveSingleBy(selectedEnabled, -1);
}

std::optional<int> CodecPageModel::moveDown(const QList<int>& selectedEnabled)
{
    return moveSingleBy(selectedEnabled, 1);
}

std::optional<int> CodecPageModel::moveSingleBy(const QList<int>& selectedEnabled, int step)
{
    applyEnabled_ = true;
    if (selectedEnabled.size() != 1) {
        return std::nullopt;
    }
    const int index = selectedEnabled.front();
    const int target = index + step;
    const int size = static_cast<int>(lists_.enabled.size());
    if (index < 0 || index >= size || target < 0 || target >= size) {
        return std::nullopt;
    }
    lists_.enabled.swapItemsAt(index, target);
    return target;
}

bool CodecPageModel::SaveCodecLists()
{
    if (!platform::prepareDataFolder()) {
        return false;
    }
    saveCodecFile(lists_);
    applyEnabled_ = false;
    return true;
}

void CodecPageModel::ok()
{
    SaveCodecLists();
    if (registration_.callsAllowed()) {
        ApplyCodecPriorities(engine_);
    }
}

}
