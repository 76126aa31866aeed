// The model-definition manager's getter.
#include "gi/giModelDefManager.h"

#include <new>

giModelDefManager* giModelDefManager::Get() {
    // A function-local object would be destroyed at exit in an order nothing controls; the
    // manager lives as long as the program.
    static giModelDefManager* s_manager = new giModelDefManager();
    return s_manager;
}
