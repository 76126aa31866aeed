// Shared-object lists: lookup by upper-cased name, counting, unlinking on the last release.
#include "engine/SharedObj.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {
int s_deleted = 0;
struct Counted : SharedObj {
    ~Counted() override { ++s_deleted; }
};
Counted* Make(const char* name, SharedObj** head) {
    auto* o = new Counted;
    o->SetName(name);
    if (head) SharedObjLink(o, head);
    return o;
}
} // namespace

TEST(SharedObj, FindUpperCasesTheSearchedNameOnly) {
    SharedObj* head = nullptr;
    Counted* a = Make("courier", &head);
    EXPECT_EQ(SharedObjFind("Courier", head), a);
    EXPECT_EQ(SharedObjFind("COURIER", head), a);
    EXPECT_EQ(a->refCount, 1) << "find does not count";

    std::strcpy(a->name, "lower"); // a name not stored by the loaders' rule
    EXPECT_EQ(SharedObjFind("lower", head), nullptr);
    EXPECT_EQ(SharedObjFind(nullptr, head), nullptr);
    EXPECT_EQ(SharedObjFind("", head), nullptr);
    SharedObjRelease(a);
    EXPECT_EQ(head, nullptr);
}

TEST(SharedObj, LongNamesCompareTheirFirst31Characters) {
    SharedObj* head = nullptr;
    Counted* a = Make("ABCDEFGHIJKLMNOPQRSTUVWXYZ01234", &head);
    EXPECT_EQ(SharedObjFind("abcdefghijklmnopqrstuvwxyz01234567890", head), a);
    EXPECT_EQ(SharedObjFind("abcdefghijklmnopqrstuvwxyz0123", head), nullptr);
    SharedObjRelease(a);
}

TEST(SharedObj, UnshareableObjectsAreSkipped) {
    SharedObj* head = nullptr;
    Counted* first = Make("FONT", &head);
    Counted* second = Make("FONT", &head); // now the head
    second->shareable = 0;
    EXPECT_EQ(SharedObjFind("font", head), first);
    EXPECT_EQ(SharedObjAcquire("font", head), first);
    EXPECT_EQ(first->refCount, 2);
    SharedObjRelease(first);
    SharedObjRelease(first);
    SharedObjRelease(second);
    EXPECT_EQ(head, nullptr);
}

TEST(SharedObj, ReleaseUnlinksFromAnyPlaceAndDeletesOnce) {
    s_deleted = 0;
    SharedObj* head = nullptr;
    Counted* c = Make("C", &head);
    Counted* b = Make("B", &head);
    Counted* a = Make("A", &head); // list: A B C
    ASSERT_EQ(head, a);

    EXPECT_EQ(SharedObjRelease(a), 0);
    EXPECT_EQ(head, b) << "releasing the head makes the next object the head";
    EXPECT_EQ(s_deleted, 1);

    SharedObjAcquire("c", head);
    EXPECT_EQ(SharedObjRelease(c), 1);
    EXPECT_EQ(s_deleted, 1);
    EXPECT_EQ(SharedObjRelease(c), 0);
    EXPECT_EQ(s_deleted, 2);
    EXPECT_EQ(head, b);
    EXPECT_EQ(b->next, nullptr) << "an inner object was not unlinked";

    EXPECT_EQ(SharedObjRelease(b), 0);
    EXPECT_EQ(head, nullptr);
    EXPECT_EQ(s_deleted, 3);
}

TEST(SharedObj, ReleasingAnUnlinkedObjectDeletesIt) {
    s_deleted = 0;
    Counted* loose = Make("LOOSE", nullptr);
    EXPECT_EQ(SharedObjRelease(loose), 0);
    EXPECT_EQ(s_deleted, 1);
}

// A shader made on the stack, or an object deleted directly: the list must not keep it, or the
// next lookup reads a dead object.
TEST(SharedObj, AnObjectDestroyedWithoutReleaseLeavesItsList) {
    SharedObj* head = nullptr;
    Counted* kept = Make("KEPT", &head);
    {
        Counted onStack;
        onStack.SetName("STACK");
        SharedObjLink(&onStack, &head);
        ASSERT_EQ(SharedObjFind("stack", head), &onStack);
    }
    EXPECT_EQ(head, kept);
    EXPECT_EQ(SharedObjFind("stack", head), nullptr);
    delete Make("GONE", &head);
    EXPECT_EQ(head, kept);
    EXPECT_EQ(SharedObjRelease(kept), 0);
    EXPECT_EQ(head, nullptr);
}
