// Three small screens built the way every concrete menu is built, for the menu framework's
// tests: A opens B with Next; B asks dialog C a question (C made behind B, B inactive until C
// answers) and goes back to A with Back or Escape.
#pragma once

#include "engine/EntRef.h"
#include "ui/Menu3Base.h"

#include <cstdint>
#include <string>

// The script every test menu A runs (a path in the data folder); tests change it.
extern std::string g_menuTestScript;
// The class A's Next opens.
extern std::string g_menuTestNext;
// The folder of B's and C's script.
extern std::string g_menuTestFolder;

class MenuTestA : public Menu3Base {
  public:
    int Create(EntNode* node) override;
    int OnMessage(const SlEvent* event) override;
};

class MenuTestB : public Menu3Base {
  public:
    int Create(EntNode* node) override;
    int OnMessage(const SlEvent* event) override;
    uint8_t answer = 0;
};

class MenuTestC : public Menu3Base {
  public:
    int Create(EntNode* node) override;
    int OnMessage(const SlEvent* event) override;
    void SetOpenArgs(const MenuOpenArgs& args) override;
    ENTBASE* caller = nullptr;
    uint64_t callerSerial = 0;
    uint8_t* answer = nullptr;
};

// Control ids.
enum : int32_t { kTestNextId = 0, kTestAskId = 0, kTestBackId = 1, kTestOkId = 0 };

intptr_t MenuTestAProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
intptr_t MenuTestBProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
intptr_t MenuTestCProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
