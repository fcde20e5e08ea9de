#pragma once

#include <lilv/lilv.h>
#include <lv2/options/options.h>
#include <lv2/urid/urid.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

/** The part of a small offline LV2 host that all plug-ins share: the lilv world with every
    installed bundle (and those on LV2_PATH), the URID map and the host features. Single-threaded:
    everything, including the plug-ins' run calls, happens on the thread that made it. */
class LilvHost final
{
public:
    LilvHost (double sampleRate, int maxBlockSize);
    ~LilvHost();

    LilvWorld* getWorld() const noexcept { return world; }

    /** Loads one more bundle (a folder holding manifest.ttl), such as a freshly built one. */
    void loadBundle (const std::string& bundleDirectory);

    const LilvPlugin* findPlugin (const std::string& uri) const;

    LV2_URID map (const char* uri);
    const char* unmap (LV2_URID urid) const;
    LV2_URID_Map* getUridMap() noexcept { return &mapData; }

    /** The null-terminated feature list handed to every instance. */
    const LV2_Feature* const* getFeatures() const noexcept { return featureList.data(); }

    /** True if every feature the plug-in requires is one we offer; otherwise names the first
        missing one in missing. */
    bool supportsRequiredFeatures (const LilvPlugin* plugin, std::string& missing) const;

    double getSampleRate() const noexcept { return sampleRate; }
    int getMaxBlockSize() const noexcept { return maxBlockSize; }

private:
    double sampleRate;
    int maxBlockSize;
    int32_t minBlock = 1, maxBlock, nominalBlock;
    float sampleRateValue;

    LilvWorld* world = nullptr;
    std::map<std::string, LV2_URID> uridsByUri;
    std::vector<std::string> urisByUrid { "" };

    LV2_URID_Map mapData {};
    LV2_URID_Unmap unmapData {};
    std::vector<LV2_Options_Option> options;
    LV2_Feature mapFeature {}, unmapFeature {}, optionsFeature {}, boundedFeature {},
        powerOf2Feature {};
    std::vector<const LV2_Feature*> featureList;

    LilvHost (const LilvHost&) = delete;
    LilvHost& operator= (const LilvHost&) = delete;
};
