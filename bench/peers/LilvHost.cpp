#include "LilvHost.h"

#include <lv2/buf-size/buf-size.h>
#include <lv2/parameters/parameters.h>
#include <lv2/atom/atom.h>

namespace
{
LV2_URID mapCallback (LV2_URID_Map_Handle handle, const char* uri)
{
    return static_cast<LilvHost*> (handle)->map (uri);
}

const char* unmapCallback (LV2_URID_Unmap_Handle handle, LV2_URID urid)
{
    return static_cast<LilvHost*> (handle)->unmap (urid);
}
} // namespace

LilvHost::LilvHost (double rate, int blockSize)
    : sampleRate (rate), maxBlockSize (blockSize), maxBlock (blockSize), nominalBlock (blockSize),
      sampleRateValue ((float) rate)
{
    world = lilv_world_new();
    lilv_world_load_all (world);

    mapData = { this, mapCallback };
    unmapData = { this, unmapCallback };

    const LV2_URID atomInt = map (LV2_ATOM__Int);
    const LV2_URID atomFloat = map (LV2_ATOM__Float);
    options = {
        { LV2_OPTIONS_INSTANCE, 0, map (LV2_BUF_SIZE__minBlockLength), sizeof (int32_t), atomInt,
          &minBlock },
        { LV2_OPTIONS_INSTANCE, 0, map (LV2_BUF_SIZE__maxBlockLength), sizeof (int32_t), atomInt,
          &maxBlock },
        { LV2_OPTIONS_INSTANCE, 0, map (LV2_BUF_SIZE__nominalBlockLength), sizeof (int32_t),
          atomInt, &nominalBlock },
        { LV2_OPTIONS_INSTANCE, 0, map (LV2_PARAMETERS__sampleRate), sizeof (float), atomFloat,
          &sampleRateValue },
        { LV2_OPTIONS_INSTANCE, 0, 0, 0, 0, nullptr },
    };

    mapFeature = { LV2_URID__map, &mapData };
    unmapFeature = { LV2_URID__unmap, &unmapData };
    optionsFeature = { LV2_OPTIONS__options, options.data() };
    boundedFeature = { LV2_BUF_SIZE__boundedBlockLength, nullptr };
    featureList = { &mapFeature, &unmapFeature, &optionsFeature, &boundedFeature };

    // The two block sizes we measure are powers of two and 60 s at 48 kHz is a whole number of
    // blocks of either, so every block has the nominal length.
    if ((blockSize & (blockSize - 1)) == 0)
    {
        powerOf2Feature = { LV2_BUF_SIZE__powerOf2BlockLength, nullptr };
        featureList.push_back (&powerOf2Feature);
    }
    featureList.push_back (nullptr);
}

LilvHost::~LilvHost() { lilv_world_free (world); }

void LilvHost::loadBundle (const std::string& bundleDirectory)
{
    const std::string path =
        bundleDirectory.back() == '/' ? bundleDirectory : bundleDirectory + "/";
    LilvNode* node = lilv_new_file_uri (world, nullptr, path.c_str());
    lilv_world_load_bundle (world, node);
    lilv_node_free (node);
}

const LilvPlugin* LilvHost::findPlugin (const std::string& uri) const
{
    LilvNode* node = lilv_new_uri (world, uri.c_str());
    const LilvPlugin* plugin = lilv_plugins_get_by_uri (lilv_world_get_all_plugins (world), node);
    lilv_node_free (node);
    return plugin;
}

LV2_URID LilvHost::map (const char* uri)
{
    const auto found = uridsByUri.find (uri);
    if (found != uridsByUri.end())
        return found->second;

    const auto urid = (LV2_URID) urisByUrid.size();
    urisByUrid.emplace_back (uri);
    uridsByUri.emplace (uri, urid);
    return urid;
}

const char* LilvHost::unmap (LV2_URID urid) const
{
    return urid < urisByUrid.size() && urid != 0 ? urisByUrid[urid].c_str() : nullptr;
}

bool LilvHost::supportsRequiredFeatures (const LilvPlugin* plugin, std::string& missing) const
{
    LilvNodes* required = lilv_plugin_get_required_features (plugin);
    bool ok = true;
    LILV_FOREACH (nodes, i, required)
    {
        const char* uri = lilv_node_as_uri (lilv_nodes_get (required, i));
        bool offered = false;
        for (const auto* feature : featureList)
            if (feature != nullptr && std::string (feature->URI) == uri)
                offered = true;
        if (! offered)
        {
            missing = uri;
            ok = false;
            break;
        }
    }
    lilv_nodes_free (required);
    return ok;
}
