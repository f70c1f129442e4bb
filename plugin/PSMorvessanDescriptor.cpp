// Each term of the descriptor table goes through the host's suite as its kind:
// whole numbers, doubles (their bits kept), flags, and the field table's own text
// for stops, matrix, weights and paths, which reads back to the same bytes.
#include "plugin/PSMorvessanDescriptor.h"

#include "plugin/HostDescriptors.h"
#include "plugin/HostHandles.h"
#include "resources/descriptor/DescriptorTerms.h"
#include "texture/SeamlessTile.h"
#include "texture/TextureFieldTable.h"

#include <algorithm>
#include <vector>

namespace morvessan {

namespace {

// Longer text than any field's is not ours.
constexpr std::int32_t kMaxText = 4096;

bool usable(const ReadDescriptorProcs* procs) {
    return procs && procs->numReadDescriptorProcs >= 8 && procs->openReadDescriptorProc &&
           procs->closeReadDescriptorProc && procs->getKeyProc && procs->getIntegerProc && procs->getFloatProc &&
           procs->getBooleanProc && procs->getTextProc;
}

bool usable(const WriteDescriptorProcs* procs) {
    return procs && procs->numWriteDescriptorProcs >= 7 && procs->openWriteDescriptorProc &&
           procs->closeWriteDescriptorProc && procs->putIntegerProc && procs->putFloatProc && procs->putBooleanProc &&
           procs->putTextProc;
}

// The text a host handle holds; nothing when it cannot be read.
std::optional<std::string> takeText(const HostHandles& handles, Handle text) {
    if (!text) {
        return std::nullopt;
    }
    std::optional<std::string> result;
    if (handles.getSizeProc && handles.lockProc) {
        const std::int32_t size = handles.getSizeProc(text);
        if (size >= 0 && size <= kMaxText) {
            if (const Ptr bytes = handles.lockProc(text, false)) {
                result.emplace(bytes, bytes + size);
                if (handles.unlockProc) {
                    handles.unlockProc(text);
                }
            }
        }
    }
    if (handles.disposeProc) {
        handles.disposeProc(text);
    }
    return result;
}

void readEntry(const ReadDescriptorProcs& procs, const HostHandles& handles, PIReadDescriptor reader,
               const DescriptorTerm& term, FilterParameters& block, ReplayedSettings& replayed) {
    int32 whole = 0;
    double decimal = 0;
    Boolean flag = 0;
    std::optional<std::string> text;
    switch (term.value) {
    case DescriptorValue::Integer:
        if (procs.getIntegerProc(reader, &whole) != noErr) {
            return;
        }
        break;
    case DescriptorValue::Float:
        if (procs.getFloatProc(reader, &decimal) != noErr) {
            return;
        }
        break;
    case DescriptorValue::Boolean:
        if (procs.getBooleanProc(reader, &flag) != noErr) {
            return;
        }
        break;
    case DescriptorValue::Text: {
        Handle handle = nullptr;
        const OSErr err = procs.getTextProc(reader, &handle);
        text = takeText(handles, handle);
        if (err != noErr || !text) {
            return;
        }
        break;
    }
    }
    switch (term.slot) {
    case DescriptorSlot::TextureField: {
        const TextureField& field = kTextureFields[term.field];
        if (field.whole) {
            block.texture.*field.whole = whole;
        } else if (field.decimal) {
            block.texture.*field.decimal = decimal;
        } else if (field.flag) {
            block.texture.*field.flag = flag ? 1 : 0;
        } else {
            // A text the field refuses leaves the default: setTextureField changes nothing then.
            (void)setTextureField(block.texture, field, *text);
        }
        break;
    }
    case DescriptorSlot::PresetFile:
        if (text->size() < kPathSize) {
            copyToField(block.presetFile, kPathSize, *text);
        }
        break;
    case DescriptorSlot::CategoryIndex: block.categoryIndex = whole; break;
    case DescriptorSlot::Seamless: setSeamless(block, flag != 0); break;
    case DescriptorSlot::ScaleBySource: block.scaleBySource = flag ? 1 : 0; break;
    case DescriptorSlot::OverwriteSource: block.overwriteSource = flag ? 1 : 0; break;
    case DescriptorSlot::PresetName: replayed.presetName = *text; break;
    }
}

bool putText(const WriteDescriptorProcs& procs, const HostHandles& handles, PIWriteDescriptor writer,
             DescriptorKeyID key, const std::string& text) {
    if (!handles.newProc || !handles.lockProc) {
        return false;
    }
    Handle handle = handles.newProc(static_cast<std::int32_t>(text.size()));
    if (!handle) {
        return false;
    }
    bool written = false;
    if (const Ptr bytes = handles.lockProc(handle, false)) {
        std::copy(text.begin(), text.end(), bytes);
        if (handles.unlockProc) {
            handles.unlockProc(handle);
        }
        written = procs.putTextProc(writer, key, handle) == noErr;
    }
    // The suite keeps a copy; the handle stays the plug-in's.
    if (handles.disposeProc) {
        handles.disposeProc(handle);
    }
    return written;
}

} // namespace

std::optional<ReplayedSettings> readSettingsDescriptor(FilterRecord& record, FilterParameters& block) {
    PIDescriptorParameters* parameters = record.descriptorParameters;
    if (!parameters || !parameters->descriptor || !usable(parameters->readDescriptorProcs)) {
        return std::nullopt;
    }
    const ReadDescriptorProcs& procs = *parameters->readDescriptorProcs;
    const HostHandles handles(record);
    std::vector<DescriptorKeyID> keys;
    for (const DescriptorTerm& term : descriptorTerms()) {
        keys.push_back(term.key);
    }
    keys.push_back(0);
    // Defaults first: what the descriptor does not say well is the default, never
    // what an earlier run left in the block.
    writeDefaultParameters(block);
    ReplayedSettings replayed;
    if (PIReadDescriptor reader = procs.openReadDescriptorProc(parameters->descriptor, keys.data())) {
        DescriptorKeyID key = 0;
        DescriptorTypeID type = 0;
        int32 flags = 0;
        for (int entries = 0; entries < 4096 && procs.getKeyProc(reader, &key, &type, &flags); ++entries) {
            const DescriptorTerm* term = findDescriptorTerm(key);
            if (term && type == static_cast<DescriptorTypeID>(term->value)) {
                readEntry(procs, handles, reader, *term, block, replayed);
            }
        }
        procs.closeReadDescriptorProc(reader); // a missing entry is no failure: its default stands
    }
    if (handles.disposeProc) {
        handles.disposeProc(parameters->descriptor);
    }
    parameters->descriptor = nullptr;
    return replayed;
}

bool writeSettingsDescriptor(FilterRecord& record, const FilterParameters& block, const std::string& presetName) {
    PIDescriptorParameters* parameters = record.descriptorParameters;
    if (!parameters || !usable(parameters->writeDescriptorProcs)) {
        return false;
    }
    const WriteDescriptorProcs& procs = *parameters->writeDescriptorProcs;
    const HostHandles handles(record);
    PIWriteDescriptor writer = procs.openWriteDescriptorProc();
    if (!writer) {
        return false;
    }
    bool whole = true;
    for (const DescriptorTerm& term : descriptorTerms()) {
        OSErr err = noErr;
        switch (term.slot) {
        case DescriptorSlot::TextureField: {
            const TextureField& field = kTextureFields[term.field];
            if (field.whole) {
                err = procs.putIntegerProc(writer, term.key, block.texture.*field.whole);
            } else if (field.decimal) {
                const double value = block.texture.*field.decimal;
                err = procs.putFloatProc(writer, term.key, &value);
            } else if (field.flag) {
                err = procs.putBooleanProc(writer, term.key, block.texture.*field.flag != 0);
            } else if (!putText(procs, handles, writer, term.key, textureFieldText(block.texture, field))) {
                err = paramErr;
            }
            break;
        }
        case DescriptorSlot::PresetFile:
            err = putText(procs, handles, writer, term.key, readField(block.presetFile, kPathSize)) ? noErr : paramErr;
            break;
        case DescriptorSlot::CategoryIndex: err = procs.putIntegerProc(writer, term.key, block.categoryIndex); break;
        case DescriptorSlot::Seamless: err = procs.putBooleanProc(writer, term.key, seamlessAsked(block)); break;
        case DescriptorSlot::ScaleBySource:
            err = procs.putBooleanProc(writer, term.key, block.scaleBySource != 0);
            break;
        case DescriptorSlot::OverwriteSource:
            err = procs.putBooleanProc(writer, term.key, block.overwriteSource != 0);
            break;
        case DescriptorSlot::PresetName:
            if (!presetName.empty()) {
                err = putText(procs, handles, writer, term.key, presetName) ? noErr : paramErr;
            }
            break;
        }
        whole = whole && err == noErr;
    }
    PIDescriptorHandle written = nullptr;
    const OSErr closed = procs.closeWriteDescriptorProc(writer, &written);
    if (closed != noErr || !written || !whole) {
        if (written && handles.disposeProc) {
            handles.disposeProc(written);
        }
        return false;
    }
    if (parameters->descriptor && parameters->descriptor != written && handles.disposeProc) {
        handles.disposeProc(parameters->descriptor);
    }
    parameters->descriptor = written;
    parameters->recordInfo = plugInDialogOptional;
    return true;
}

} // namespace morvessan
