#pragma once
// The process-wide skin: the CLIENTSKIN document compiled into the program (resource "XML" 401), with its
// fonts and one section per window (MAINWND, GAMEWND) declaring images, rectangles, buttons and texts.
// Element and attribute names match exactly; fonts and the logo are looked up by name without regard to
// case. A missing or malformed document answers with defaults and empty lists.

#include <cstddef>
#include <memory>
#include <string>

#include "skin/SkinDefs.h"

class TiXmlDocument;
class TiXmlElement;

class SkinDocument {
public:
    // The single document, loaded from the resource on the first call. User-interface thread only.
    static SkinDocument& Instance();
    // Destroys it (the frame does so once the windows are gone; tests between cases).
    static void DestroyInstance();

    SkinDocument();
    ~SkinDocument();
    SkinDocument(const SkinDocument&) = delete;
    SkinDocument& operator=(const SkinDocument&) = delete;

    // Loads resource "XML" 401; without it (or with size 0) the document stays empty.
    void LoadDocument();
    void LoadDocumentFromBytes(const char* data, std::size_t size);

    // Resets every field but `section` to its default, then reads the section's attributes.
    void LoadWindowDef(SkinWindowDef& window) const;
    // Each empties the list, then adds one record per element of its kind in `section`, in order.
    // An image that cannot be loaded is reported in a message box ("Load Img Fail : <stand>") and left out.
    void LoadImages(const std::wstring& section, SkinImageList& images) const;
    void LoadRects(const std::wstring& section, SkinRectList& rects) const;
    void LoadButtons(const std::wstring& section, SkinButtonList& buttons) const;
    void LoadTexts(const std::wstring& section, SkinTextList& texts) const;

    // Fills `font` from the first FONT whose name is `font.name` without regard to case; size and style
    // only when given. False, with `font` untouched, when there is none.
    bool FindFont(SkinFontDef& font) const;
    // The file of the title-bar logo: the `stand` of the last root IMG named "logo" (any case). An empty
    // answer is looked for again on the next call.
    std::wstring GetLogoPath();

private:
    const TiXmlElement* Root() const;
    const TiXmlElement* Section(const std::wstring& name) const;

    std::unique_ptr<TiXmlDocument> m_pDocument;
    bool m_bUtf8 = false;  // the document declared UTF-8; its text is not in the ANSI code page
    std::wstring m_strLogoPath;
};
