#pragma once

#include <QHash>
#include <QString>
#include <functional>
#include <vector>

namespace sys {

class FontconfigSession;

// Loading and unloading font files for the running program, and the notice that
// the set of installed fonts has changed.
class FontResources {
public:
    virtual ~FontResources() = default;
    // True when FreeType can open the file as a font (its first face).
    virtual bool isFontFile(const QString& path) = 0;
    // Makes the running program use the font file; the number of faces added.
    virtual int addFontResource(const QString& path) = 0;
    // Undoes addFontResource for that file; true when something was unloaded.
    virtual bool removeFontResource(const QString& path) = 0;
    // Brings the system's view of the fonts up to date, then tells every listener.
    virtual void broadcastFontChange() = 0;

    // Listeners of the font-change notice, called in the order they were added.
    void onFontChange(std::function<void()> listener) { listeners.push_back(std::move(listener)); }

protected:
    void notifyListeners()
    {
        for (const auto& listener : listeners)
            listener();
    }

private:
    std::vector<std::function<void()>> listeners;
};

// fontconfig for the program's own font views, Qt's font database for drawing.
class FontconfigResources : public FontResources {
public:
    explicit FontconfigResources(FontconfigSession& session) : session(session) {}
    bool isFontFile(const QString& path) override;
    int addFontResource(const QString& path) override;
    bool removeFontResource(const QString& path) override;
    void broadcastFontChange() override;

private:
    FontconfigSession& session;
    QHash<QString, int> qtFontIds;
};

} // namespace sys
