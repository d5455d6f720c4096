// A version-2 library's GUI object (made with makeModule type 2) and the host
// side of its callback: the store of its GUI pins.
//
// The host keeps each GUI pin's datatype, direction, name, 4-byte value, text,
// wide text and choice list. When the object writes a pin (opcode 15, or a
// text with opcode 6), the host stores the value and tells the object of the
// change at once, from inside the write (dispatcher opcode 7), as a real host
// does; the object must guard against that re-entry itself. A chain of such
// nested notices deeper than `maxNesting` is cut (the write is still stored).
// All calls stand for the host's user-interface thread.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "host/library.h"
#include "se/abi/records.h"

namespace host {

struct V2GuiOptions {
    // True: the host already holds the pins (the description's "gui" list,
    // as restored with a patch) and initialises with index 1. False: a fresh
    // object; the host starts with the declared GUI-communication pins only.
    bool restored = false;
    bool initialise = true;       // send opcode 0 in create
    bool provideCallback = true;  // false: the object is made without a callback
    intptr_t query20Answer = 0;   // what callback opcode 20 answers
    int32_t maxNesting = 16;
};

struct V2GuiPin {
    int32_t datatype = DT_FLOAT_VALUE;
    int32_t direction = DR_IN;
    std::string name;
    uint32_t valueBits = 0;  // int or float
    std::string text;
    std::u16string wideText;
    std::string choices;

    float floatValue() const;
    int32_t intValue() const;
};

// One write the object made (opcode 15 or 6), in order.
struct V2GuiWrite {
    int32_t pinIndex;
    int32_t value;  // the int argument
    float opt;      // the float argument
    int32_t depth;  // notices already running when it came (0: from a host call)
    bool text;      // a text write (opcode 6)
};

class V2GuiInstance {
public:
    // Makes the GUI object and, unless told otherwise, initialises it.
    // Throws HostError when the library makes no GUI object.
    static std::unique_ptr<V2GuiInstance> create(std::shared_ptr<Library> library, V2GuiOptions options = {});
    // makeModule(0, 2)'s result for this library, the object closed at once (or null).
    static bool makesGuiObject(std::shared_ptr<Library> library);
    ~V2GuiInstance();  // closes the object if it is still there
    V2GuiInstance(const V2GuiInstance&) = delete;
    V2GuiInstance& operator=(const V2GuiInstance&) = delete;

    // Any dispatcher call; opcode 1 ends the object.
    intptr_t dispatch(int32_t opcode, int32_t index = 0, int32_t value = 0, void* ptr = nullptr, float opt = 0.0f);
    intptr_t close() { return dispatch(seGuiClose); }
    bool alive() const { return record_ != nullptr; }
    const SEGUIStruct* record() const { return record_; }

    // A user's edit: stores the value, then tells the object (opcode 7).
    void setFloat(int32_t pinIndex, float value);
    void setInt(int32_t pinIndex, int32_t value);
    void setText(int32_t pinIndex, std::string_view text);
    void setWideText(int32_t pinIndex, std::u16string_view text);
    // Stores a value without telling the object (as restored with a patch).
    void storeFloat(int32_t pinIndex, float value);
    void storeInt(int32_t pinIndex, int32_t value);
    // A pin the host holds before the object runs (as restored with a patch).
    void addHostPin(V2GuiPin pin) { pins_.push_back(std::move(pin)); }

    const std::vector<V2GuiPin>& pins() const { return pins_; }
    const V2GuiPin& pin(int32_t index) const;  // throws HostError for an unknown pin
    float floatValue(int32_t index) const { return pin(index).floatValue(); }
    int32_t intValue(int32_t index) const { return pin(index).intValue(); }
    // The first pin named `nameOrIndex` (or of that decimal index); -1 if none.
    int32_t findPin(std::string_view nameOrIndex) const;

    const std::vector<V2GuiWrite>& writes() const { return writes_; }
    int64_t notices() const { return notices_; }          // opcode-7 calls the host made
    int64_t cutNotices() const { return cutNotices_; }    // left out beyond maxNesting
    int32_t deepestNesting() const { return deepest_; }
    int64_t opcode22Count() const { return opcode22_; }
    // Pointers handed over with callback opcodes 18, 19 and 20, in order.
    const std::vector<std::pair<int32_t, void*>>& requests() const { return requests_; }
    void clearRecords();

private:
    V2GuiInstance(std::shared_ptr<Library> library, V2GuiOptions options);
    static intptr_t callback(void* record, int32_t opcode, int32_t index, int32_t value, void* ptr, float opt);
    intptr_t answer(int32_t opcode, int32_t index, int32_t value, void* ptr, float opt);
    V2GuiPin* find(int32_t index);
    void notify(int32_t pinIndex);

    std::shared_ptr<Library> library_;
    V2GuiOptions options_;
    SEGUIStruct* record_ = nullptr;
    std::vector<V2GuiPin> pins_;
    std::vector<V2GuiWrite> writes_;
    std::vector<std::pair<int32_t, void*>> requests_;
    int32_t depth_ = 0, deepest_ = 0;
    int64_t notices_ = 0, cutNotices_ = 0, opcode22_ = 0;
};

}  // namespace host
