-- Runs inside Ardour's headless Lua session tool (ardour7-lua), started by ardour_test.sh,
-- which sets the environment:
--   STOMPVALE_FORMAT          VST3 or LV2
--   STOMPVALE_MODE            "hosting": load, list the parameters, set a Fuzz Fake pedal and
--                             hear it; "session": set it, save the session, load it again and
--                             hear (and, for the VST3, read) the restored values; "mono": hear
--                             the sine at its expected level on mono tracks with strict I/O on
--                             and off
--   STOMPVALE_PARAMETER_LIST  the processor's parameters, as StompvaleParameterList prints them
--   STOMPVALE_SESSION_DIR     a folder that does not exist yet, for the session
-- Every check prints "ok" or "FAIL" and a description; the exit code is the number of failures
-- (capped at 100), so the shell side only has to pass it on.
--
-- The audio comes from the "None (Dummy)" backend's "Sine Wave" capture ports, routed through
-- the track with input monitoring; the track's peak meter (after the plug-in) is what we listen
-- to. Ardour hands a VST3 parameters normalised to 0..1 and an LV2 (whose JUCE wrapper exposes
-- parameters as patch properties, not control ports) its properties in natural units.

local format = os.getenv ("STOMPVALE_FORMAT")
local mode = os.getenv ("STOMPVALE_MODE")
local listFile = os.getenv ("STOMPVALE_PARAMETER_LIST")
local sessionDir = os.getenv ("STOMPVALE_SESSION_DIR")
local sessionName = "stompvale_host_test"

local failures = 0
local function check (condition, description)
    if condition then
        print ("ok   " .. description)
    else
        print ("FAIL " .. description)
        failures = failures + 1
    end
    return condition
end

local function finish ()
    print (string.format ("%s %s: %d failure(s)", format, mode, failures))
    os.exit (math.min (failures, 100))
end

-- The processor's own list: index (0-based) -> { id, name, min, max }.
local expected = {}
for line in io.lines (listFile) do
    local index, id, name, low, high = line:match ("^(%d+)\t([^\t]*)\t([^\t]*)\t([^\t]*)\t([^\t]*)$")
    expected[tonumber (index)] = { id = id, name = name, min = tonumber (low), max = tonumber (high) }
end
local numParameters = #expected + 1
local function indexOf (id)
    for i = 0, numParameters - 1 do
        if expected[i].id == id then return i end
    end
    return nil
end

local slotIndex = indexOf ("PEDAL_BEFORE_SLOT0")
local fuzzOnIndex = indexOf ("PEDAL5PEDAL_Fuzz_ONOFF_")
local volumeIndex = indexOf ("volume")
check (numParameters == 143 and slotIndex and fuzzOnIndex and volumeIndex,
       "the processor lists 143 parameters, among them the main volume, the chain position and the on/off used here")
if failures > 0 then finish () end

-- Engine: the dummy backend with a sine on its capture ports.
local backend = AudioEngine:set_backend ("None (Dummy)", "", "")
check (backend ~= nil, "the dummy audio backend is available")
backend:set_device_name ("Sine Wave")
backend:set_sample_rate (48000)
backend:set_buffer_size (256)
if not check (AudioEngine:start (false) == 0, "the audio engine starts") then finish () end

local pluginType = format == "VST3" and ARDOUR.PluginType.VST3 or ARDOUR.PluginType.LV2
local propertyAutomation = ARDOUR.AutomationType.PluginAutomation + 1 -- PluginPropertyAutomation is not bound in Lua

--- What the host shows of one plug-in instance, and how to set it.
local function hostView (processor)
    local insert = processor:to_insert ()
    local plugin = insert:plugin (0)
    local view = { names = {}, controls = {}, processor = processor, insert = insert }
    if format == "VST3" then
        local n = 0
        for j = 0, plugin:parameter_count () - 1 do
            if plugin:parameter_is_control (j) and plugin:parameter_is_input (j) then
                view.names[n] = plugin:parameter_label (j)
                n = n + 1
            end
        end
        view.count = n
    else
        local automatable = insert:to_automatable ()
        local n = 0
        for parameter in automatable:all_automatable_params ():iter () do
            if parameter:type () == propertyAutomation then
                local control = automatable:automation_control (parameter, false)
                view.names[n] = control:desc ().label
                view.controls[n] = control
                n = n + 1
            end
        end
        view.count = n
    end
    return view
end

--- Sets parameter i to a natural value through the host.
local function setNatural (view, i, value)
    if format == "VST3" then
        local e = expected[i]
        return ARDOUR.LuaAPI.set_processor_param (view.processor, i, (value - e.min) / (e.max - e.min))
    end
    view.controls[i]:set_value (value, PBD.GroupControlDisposition.NoGroup)
    return view.controls[i]:get_value () == value
end

--- The natural value the host reads back from the plug-in (VST3 only: Ardour does not read LV2
--- properties back from the plug-in).
local function getNatural (view, i)
    local e = expected[i]
    local normalised = ARDOUR.LuaAPI.get_processor_param (view.processor, i, true)
    return e.min + normalised * (e.max - e.min)
end

--- The highest peak (dBFS) after the plug-in over 0.4 s, once changes have settled: the meter's
--- maximum since we cleared it, on the first channel; then that of the quietest channel, and the
--- number of channels metered.
local function listen (track)
    ARDOUR.LuaAPI.usleep (200000)
    local meter = track:peak_meter ()
    meter:reset_max ()
    ARDOUR.LuaAPI.usleep (400000)
    local channels = meter:input_streams ():n_audio ()
    local quietest = math.huge
    for c = 0, channels - 1 do
        quietest = math.min (quietest, meter:meter_level (c, ARDOUR.MeterType.MeterMaxPeak))
    end
    return meter:meter_level (0, ARDOUR.MeterType.MeterMaxPeak), quietest, channels
end

local function roll ()
    Session:request_roll (ARDOUR.TransportRequestSource.TRS_UI)
end

--- Releases every Lua reference into the session and closes it (a live reference would outlive
--- the session and crash the tool).
local function closeSession (references)
    for k in pairs (references) do references[k] = nil end
    collectgarbage ()
    collectgarbage ()
    close_session ()
end

--- A track as Ardour's add-track dialog makes one for a mono source feeding the stereo master:
--- one input, two outputs, strict I/O switched (as the dialog does) before any plug-in is
--- inserted, listening to its input.
local function newTrack (name, strictIo)
    local tracks = Session:new_audio_track (1, 2, nil, 1, name, ARDOUR.PresentationInfo.max_order,
                                            ARDOUR.TrackMode.Normal, true)
    local track = tracks:front ()
    tracks = nil
    track:set_strict_io (strictIo)
    track:monitoring_control ():set_value (ARDOUR.MonitorChoice.MonitorInput, PBD.GroupControlDisposition.NoGroup)
    -- Ardour connects new tracks to the capture ports from a thread of its own: give it a moment.
    local connected = false
    for _ = 1, 50 do
        connected = track:input ():nth (0):connected ()
        if connected then break end
        ARDOUR.LuaAPI.usleep (100000)
    end
    check (connected, "the input of the track " .. name .. " is connected to the sine source")
    return track
end

--- A new instance of the plug-in, inserted first on the track; stops the test if there is none.
local function insertPlugin (track)
    local processor = ARDOUR.LuaAPI.new_plugin (Session, "Stompvale", pluginType, "")
    if not check (not processor:isnil (), "Ardour finds and instantiates the " .. format) then finish () end
    check (track:add_processor_by_index (processor, 0, nil, true) == 0,
           "the plug-in is inserted on the track " .. track:name ())
    return processor
end

local state = {}
if not check (create_session (sessionDir, sessionName, 48000) ~= nil, "a new session is created") then finish () end
if mode == "mono" then
    -- The sine as it reaches the tracks, then through the plug-in with an empty chain at the
    -- default half volume: 6 dB quieter, on every channel after the plug-in, strict I/O or not.
    state.strict = newTrack ("Strict", true)
    state.loose = newTrack ("Loose", false)
    roll ()
    local source = listen (state.strict)
    check (source > -40 and source < -6, string.format ("the sine reaches the tracks (peak %.1f dBFS)", source))
    for _, track in ipairs ({ state.strict, state.loose }) do
        local insert = insertPlugin (track):to_insert ()
        local first, quietest, channels = listen (track)
        check (math.abs (first - source + 6.02) < 0.5 and math.abs (quietest - first) < 0.5,
               string.format ("strict I/O %s: the sine passes at half volume on all %d channel(s) "
                              .. "(peak %.1f dBFS, quietest %.1f); Ardour runs %d instance(s), %d in, %d out",
                              track:strict_io () and "on" or "off", channels, first, quietest,
                              insert:get_count (), insert:input_streams ():n_audio (),
                              insert:output_streams ():n_audio ()))
    end
    Session:request_stop (false, false, ARDOUR.TransportRequestSource.TRS_UI)
    closeSession (state)
    finish ()
end

state.track = newTrack ("Guitar", false)
state.processor = insertPlugin (state.track)
state.view = hostView (state.processor)
roll ()

if mode == "hosting" then
    local view = state.view
    check (view.count >= 143, string.format ("the host sees all 143 parameters (it lists %d)", view.count))
    local mismatches = 0
    for i = 0, 142 do
        if view.names[i] ~= expected[i].name then
            mismatches = mismatches + 1
            if mismatches <= 5 then
                print (string.format ("     parameter %d: host says %q, processor says %q", i,
                                      tostring (view.names[i]), expected[i].name))
            end
        end
    end
    check (mismatches == 0, "the host shows the parameters' names in the processor's order")
    check (view.names[0] == "Main Volume" and view.names[137] == "PEDAL_BEFORE_SLOT0"
           and view.names[142] == "PEDAL_BEFORE_SLOT5" and view.names[30] == "On/Off"
           and view.names[107] == "A0" and view.names[136] == "C9",
           "fixed names: 0 Main Volume, 30 On/Off, 107 A0, 136 C9, 137 and 142 the chain positions")
    if format == "VST3" then
        check (view.count == 144 and view.names[143] == "Bypass",
               "the VST3 wrapper adds exactly one parameter, Bypass, after ours")
    else
        check (view.count == 143, "the LV2 lists exactly our 143 properties")
    end

    local half = listen (state.track)
    check (half > -40 and half < -12,
           string.format ("with an empty chain the sine passes at the default half volume (peak %.1f dBFS)", half))
    check (setNatural (view, volumeIndex, 1), "the main volume is set to 1")
    local dry = listen (state.track)
    check (math.abs (dry - half - 6.02) < 0.5,
           string.format ("at volume 1 the sine is 6 dB louder (peak %.1f dBFS)", dry))

    check (setNatural (view, slotIndex, 5), "chain position 0 is set to pedal 5 (Fuzz Fake)")
    check (setNatural (view, fuzzOnIndex, 1), "the Fuzz Fake is switched on")
    local fuzzed = listen (state.track)
    check (fuzzed > dry + 9,
           string.format ("the fuzz changes the sound: peak %.1f dBFS against %.1f dBFS dry", fuzzed, dry))
    if format == "VST3" then
        check (math.abs (getNatural (view, slotIndex) - 5) < 1e-3, "the host reads chain position 0 back as 5")
    end

    check (setNatural (view, fuzzOnIndex, 0), "the Fuzz Fake is switched off again")
    local off = listen (state.track)
    check (math.abs (off - dry) < 1.0,
           string.format ("switched off, the sound is dry again (peak %.1f dBFS)", off))

    local haveStats, stats = view.insert:get_stats (0, 0, 0, 0)
    if check (haveStats, "Ardour keeps DSP statistics for the plug-in") then
        check (stats[1] > 0 and stats[3] > 0,
               string.format ("Ardour's DSP statistics for the plug-in: min %d, max %d, mean %.1f µs per cycle",
                              stats[1], stats[2], stats[3]))
    end
elseif mode == "session" then
    local view = state.view
    setNatural (view, slotIndex, 5)
    setNatural (view, fuzzOnIndex, 1)
    setNatural (view, volumeIndex, 1)
    local before = listen (state.track)
    check (before > -12, string.format ("the fuzz is heard before saving (peak %.1f dBFS)", before))
    Session:request_stop (false, false, ARDOUR.TransportRequestSource.TRS_UI)
    ARDOUR.LuaAPI.usleep (200000)
    check (Session:save_state ("", false, false, false, false, false) == 0, "the session is saved")
    state.view = nil
    view = nil
    closeSession (state)

    check (load_session (sessionDir, sessionName) ~= nil, "the saved session loads again")
    state.track = Session:route_by_name ("Guitar")
    if not check (not state.track:isnil (), "the track is back") then closeSession (state); finish () end
    state.processor = state.track:nth_plugin (0)
    if not check (not state.processor:isnil () and state.processor:name () == "Stompvale",
                  "the plug-in is back on the track") then
        closeSession (state)
        finish ()
    end
    state.view = hostView (state.processor)
    roll ()
    local after = listen (state.track)
    check (after > -12 and math.abs (after - before) < 1.0,
           string.format ("the restored plug-in sounds as before saving (peak %.1f dBFS, was %.1f)", after, before))
    if format == "VST3" then
        check (math.abs (getNatural (state.view, slotIndex) - 5) < 1e-3, "chain position 0 is restored to 5")
        check (math.abs (getNatural (state.view, fuzzOnIndex) - 1) < 1e-3, "the Fuzz Fake's on/off is restored to on")
        check (math.abs (getNatural (state.view, volumeIndex) - 1) < 1e-3, "the main volume is restored to 1")
    end
else
    check (false, "STOMPVALE_MODE is hosting, session or mono, not " .. tostring (mode))
end

Session:request_stop (false, false, ARDOUR.TransportRequestSource.TRS_UI)
closeSession (state)
finish ()
