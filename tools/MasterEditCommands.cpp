// The editor's menu commands: saving, duplicating, the editor scripts.
#include "engine/DebugLog.h"
#include "engine/EntBase.h"
#include "engine/EntIniLoader.h"
#include "engine/Memory.h"
#include "engine/PropDb.h"
#include "engine/Script/ScriptMgr.h"
#include "engine/System.h"
#include "tools/MasterEdit.h"

#include <cstdio>
#include <cstring>
#include <string>

void MasterEdit::Command(int, int id) {
    switch (id) {
        case EDCMD_SAVE: SysBeep(880, 100); break;
        case EDCMD_SAVE_SELECTED: SaveSelected(); break;
        case EDCMD_SAVE_CHANGED:
            if (EntIsLive(m_root)) {
                EntWalkGuard guard;
                SaveChanged(m_root);
            }
            break;
        case EDCMD_UNDO:
            if (m_count == 1 && m_panes && m_panes->shown == m_selection[0]) m_panes->Undo();
            break;
        case EDCMD_DUPLICATE:
            if (m_count > 0) Duplicate(m_selection[0]);
            break;
        case EDCMD_SCRIPT1: RunScript("Script1.lua"); break;
        case EDCMD_SCRIPT2: RunScript("Script2.lua"); break;
        case EDCMD_SCRIPT3: RunScript("Script3.lua"); break;
        default: break; // "Exit", "DevInfo", the views, speeds and environment items: nothing
    }
}

// The log and the console: the mark stays, so that the next save tries again instead of
// skipping the edit.
static void KeptChanged(EditorPanes* panes, ENTBASE* entity, const char* why, const char* then) {
    char line[512];
    std::snprintf(line, sizeof line, "Editor: %s %s %s%s; still marked changed", entity->GetName(),
                  why, entity->sourceFile, then);
    DbgPrintf(DBG_GENERAL, "%s\n", line);
    if (panes) panes->ConsoleAppend(line);
}

// Entities of a saved game are stamped with a marker, not a file: they are never written here.
void MasterEdit::SaveOne(ENTBASE* entity) {
    if (!entity->sourceFile) return;
    if (std::strcmp(entity->sourceFile, ENT_SAVEGAME) == 0) {
        DbgPrintf(DBG_GENERAL, "Editor: %s belongs to a saved game, not saved\n",
                  entity->GetName());
        return;
    }
    // A list-form file makes only what its list names: a section of its own (a duplicate's, say)
    // would be written and never read again.
    if (EntListNames(entity->sourceFile, entity->GetName()) == 0) {
        KeptChanged(m_panes.get(), entity, "is not in the Entities list of", ", not saved");
        return;
    }
    if (entity->SaveVars(entity->sourceFile) != 1) {
        KeptChanged(m_panes.get(), entity, "was not saved to", "");
        return;
    }
    entity->ClearFlag(ENT_FLAG_CHANGED);
}

void MasterEdit::SaveSelected() {
    ENTBASE* saving[EDITOR_SELECT_MAX];
    const int n = m_count;
    std::memcpy(saving, m_selection, sizeof(ENTBASE*) * (size_t)n);
    EntWalkGuard guard;
    for (int i = 0; i < n; ++i)
        if (EntIsLive(saving[i])) SaveOne(saving[i]);
}

// Pre-order: each entity before its children, then its next sibling.
void MasterEdit::SaveChanged(ENTBASE* entity) {
    if (entity->TestFlag(ENT_FLAG_CHANGED)) SaveOne(entity);
    if (!entity->node) return;
    for (EntNode* child = entity->node->firstChild; child; child = child->next)
        if (child->deleteCount == 0 && child->object) SaveChanged(child->object);
}

ENTBASE* MasterEdit::Duplicate(ENTBASE* entity) {
    if (!EntIsLive(entity) || !entity->node || !entity->node->cls) return nullptr;
    // The name cut to leave room for the "x" within the 32 characters a name holds.
    char name[ENTBASE::NAME_LEN_MAX + 1] = {};
    entity->CopyName(name);
    name[ENTBASE::NAME_LEN_MAX - 1] = '\0';
    std::strcat(name, "x");

    void* blob = VarDbSaveBlob(entity->classDb, entity);
    ENTBASE* copy = EntCreateChild(entity->node->cls->name, EntGetParent(entity));
    if (!copy) {
        MemFree(blob);
        DbgPrintf(DBG_GENERAL, "Editor: could not duplicate %s\n", name);
        return nullptr;
    }
    if (blob) VarDbLoadBlob(copy->classDb, copy, blob);
    MemFree(blob);
    copy->SetName(name);
    const char* sourceFile = entity->sourceFile;
    // The application starts what the editor makes.
    EditorEntityMade(copy);
    if (!EntIsLive(copy)) return nullptr;
    copy->SetFlag(ENT_FLAG_CHANGED);
    if (sourceFile) EntSetSourceFile(copy, sourceFile);
    return copy;
}

void MasterEdit::RunScript(const char* fileName) {
    const std::string path = m_dataDir.path + fileName;
    LuaScript* script = LuaScriptNew();
    if (!script) return;
    script->SetAutoDelete(1);
    script->RunFile(path.c_str());
}
