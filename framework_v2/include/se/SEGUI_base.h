// The base of every version-2 GUI-side object, its pin handles, and the
// framework's GuiModule.
//
// The object owns no window: the host keeps its GUI pins, tells it when one
// changes (dispatcher opcode 7) and answers its reads and writes through the
// callback. A write may make the host call onPinChanged again from inside the
// write; modules guard against that themselves. User-interface thread only.
#pragma once

#include <cstdint>
#include <string>

#include "se/abi/records.h"

class SEGUI_base;

// A point made from a dispatcher call's index (x) and value (y).
struct SEPoint {
    int32_t x;
    int32_t y;
};

// A handle on one GUI pin: its index and the owning object; no value of its own.
class SEGUIPin {
public:
    SEGUIPin(int32_t index, SEGUI_base* owner) : m_index(index), m_owner(owner) {}

    int32_t getIndex() const { return m_index; }
    SEGUI_base* getOwner() const { return m_owner; }

    int32_t getValueInt();
    float getValueFloat();
    void setValueInt(int32_t value);    // the int in value, float 0
    void setValueFloat(float value);    // value 0, the float in opt
    std::string getText();              // copied at once; empty when the host has none
    void setText(const char* text);
    std::u16string getWideText();       // up to the first 0 character

private:
    int32_t m_index;
    SEGUI_base* m_owner;
};

class SEGUI_base {
public:
    SEGUI_base(seaudioMasterFunction callback, void* hostPointer);
    SEGUI_base(const SEGUI_base&) = delete;
    SEGUI_base& operator=(const SEGUI_base&) = delete;

    // Virtual operations, in the order of their slots [dispatcher opcode].
    virtual ~SEGUI_base();
    virtual intptr_t dispatch(int32_t opcode, int32_t index, int32_t value, void* ptr, float opt);
    virtual void initialise(bool restored);                     // [0]
    virtual void close();                                       // [1]
    virtual void onOpcode2(int32_t index, void* ptr);           // [2]
    virtual void onOpcode3(void* ptr, float opt, SEPoint point);  // [3]
    virtual void onOpcode4(void* ptr, float opt, SEPoint point);  // [4]
    virtual void onOpcode5(void* ptr, float opt, SEPoint point);  // [5]
    virtual void onOpcode8(void* ptr);                          // [8]
    virtual void onOpcode9(void* ptr);                          // [9]
    virtual bool queryOpcode10();                               // [10]
    virtual void onOpcode11(int32_t index);                     // [11]
    virtual void onOpcode12(int32_t index);                     // [12]
    virtual void onDspMessage(int32_t value, int32_t index, void* ptr);  // [6]
    virtual void onPinChanged(SEGUIPin pin);                    // [7]

    SEGUIStruct* getStruct() { return &m_struct; }

    // A request to the host; needs a stored callback.
    intptr_t callHost(int32_t opcode, int32_t index = 0, int32_t value = 0, void* ptr = nullptr, float opt = 0.0f);

    SEGUIPin getPin(int32_t index) { return SEGUIPin(index, this); }
    // Adds a pin at the host's next index.
    void addPin(int32_t datatype, int32_t direction, const char* name);
    // The comma-separated choices of a choice pin.
    void setChoiceList(int32_t pinIndex, const char* choices);
    // Requests offered to modules that need them (callback opcodes 18, 19, 20).
    void hostRequest18(void* ptr);
    void hostRequest19(void* ptr);
    bool hostQuery20(void* ptr);

private:
    static intptr_t dispatcherEntry(SEGUIStruct* record, int32_t opcode, int32_t index, int32_t value, void* ptr,
                                    float opt);

    seaudioMasterFunction m_callback;
    SEGUIStruct m_struct{};
};

// The framework's GUI module: tells the host (callback opcode 22) when it
// initialises and when it is destroyed, and answers opcode 10 with true.
class GuiModule : public SEGUI_base {
public:
    using SEGUI_base::SEGUI_base;
    ~GuiModule() override;
    void initialise(bool restored) override;
    bool queryOpcode10() override;
    void onDspMessage(int32_t value, int32_t index, void* ptr) override;
    void onPinChanged(SEGUIPin pin) override;
};
