#pragma once

#include "settings/CodecFile.h"
#include "settings/EngineCodecs.h"

#include <QList>
#include <QStringList>
#include <optional>

namespace orvanta {

// Whether the dialer is registered, so that calls (and a codec change) can
// reach the engine at once.
class RegistrationStatus {
public:
    virtual ~RegistrationStatus() = default;
    virtual bool callsAllowed() const = 0;
};

// The codec page: the enabled and disabled lists (engine names), the moves
// between them, saving the codec file and handing it to the engine.
class CodecPageModel {
public:
    CodecPageModel(CodecPriorityEngine& engine, const CodecCatalog& catalog,
                   const RegistrationStatus& registration)
            : engine_(engine), catalog_(catalog), registration_(registration)
    {
    }

    // The lists from the codec file; without a usable file what was read
    // and then G729 and G723 enabled (unless already listed). The engine's other codecs join the
    // disabled list so that the user can enable them.
    void load();

    const QStringList& enabled() const { return lists_.enabled; }
    const QStringList& disabled() const { return lists_.disabled; }
    bool applyEnabled() const { return applyEnabled_; }
    void onShownOrHidden() { applyEnabled_ = false; }

    // Enabled codecs the running engine does not have: it cannot offer them.
    QStringList unavailableCodecs() const;

    // The six move buttons; each enables "Apply" whether or not anything
    // moves. Selections are indices in the source list. A list never grows
    // past the codec file's limit: what does not fit stays where it is.
    void moveToEnabled(const QList<int>& selectedDisabled);  // ">"
    void moveToDisabled(const QList<int>& selectedEnabled);  // "<"
    void moveAllToEnabled();                                 // ">>"
    void moveAllToDisabled();                                // "<<"
    // "^" and "\/": the single selected enabled codec's new index when it
    // moved.
    std::optional<int> moveUp(const QList<int>& selectedEnabled);
    std::optional<int> moveDown(const QList<int>& selectedEnabled);

    // Writes the codec file; false (and "Apply" stays on) when the data
    // folder cannot be made. A failed write is not reported.
    bool SaveCodecLists();
    // "Ok": saves, and a registered dialer's engine takes the new order now.
    void ok();

private:
    // A codec already on the page is not added twice.
    void addUnlisted(QStringList& list, const QString& name);
    std::optional<int> moveSingleBy(const QList<int>& selectedEnabled, int step);

    CodecPriorityEngine& engine_;
    const CodecCatalog& catalog_;
    const RegistrationStatus& registration_;
    CodecLists lists_;
    bool applyEnabled_ = false;
};

}
