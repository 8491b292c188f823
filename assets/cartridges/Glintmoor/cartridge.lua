-- Glintmoor: gather the glints on the night moor before the wraith gets you.
-- You are the steady dot, the glint blinks, the wraith is the 2 x 2 block
-- that drifts after you, a little faster with every glint you take.

local UP, LEFT, GO, RIGHT, DOWN = 2, 4, 5, 6, 8
local STEPS = { [UP] = { 0, -1 }, [LEFT] = { -1, 0 }, [RIGHT] = { 1, 0 }, [DOWN] = { 0, 1 } }
local NAMES = { [UP] = "Up", [LEFT] = "Left", [RIGHT] = "Right", [DOWN] = "Down" }
local BLINK = 0.2 -- seconds between the glint's changes

-- A lantern over the moor's tussocks, shown from the first moment in the slot.
local TITLE = {
  "................", "......####......", ".....#....#.....", "....########....",
  "....#......#....", "....#..##..#....", "....#.####.#....", "....#..##..#....",
  "....#......#....", "....########....", "................", ".#............#.",
  "###..........###", ".#............#.", "................", "#.#.#.#.#.#.#.#.",
}

-- The score's digits, 3 x 5, rows separated by slashes.
local DIGITS = {
  "###/#.#/#.#/#.#/###", ".#./##./.#./.#./###", "###/..#/###/#../###", "###/..#/.##/..#/###",
  "#.#/#.#/###/..#/..#", "###/#../###/..#/###", "###/#../###/#.#/###", "###/..#/..#/..#/..#",
  "###/#.#/###/#.#/###", "###/#.#/###/..#/###",
}

-- Lights the '#' of each row, the first at column x, row y.
local function draw_rows(rows, x, y)
  for r, line in ipairs(rows) do
    for c = 1, #line do
      if line:sub(c, c) == "#" then dot_on(x + c - 1, y + r - 1) end
    end
  end
end

local function show_score(score)
  clear()
  local text = tostring(math.min(score, 999))
  local left = (16 - (4 * #text - 1)) // 2 + 1 -- centred, a column between digits
  for i = 1, #text do
    local digit = DIGITS[tonumber(text:sub(i, i)) + 1]
    local rows = {}
    for row in digit:gmatch("[^/]+") do rows[#rows + 1] = row end
    draw_rows(rows, left + 4 * (i - 1), 6)
  end
end

-- The wraith's gap to the player along one axis: 0 when its two dots cover him.
local function gap(player, wraith)
  if player < wraith then return player - wraith end
  if player > wraith + 1 then return player - wraith - 1 end
  return 0
end

local function caught(g)
  return gap(g.px, g.wx) == 0 and gap(g.py, g.wy) == 0
end

-- The wraith closes the wider gap first: it comes on a slant, a staircase
-- that leaves a quick player room to slip round it.
local function wraith_step(g)
  local dx, dy = gap(g.px, g.wx), gap(g.py, g.wy)
  if math.abs(dx) >= math.abs(dy) then
    g.wx = g.wx + (dx > 0 and 1 or -1)
  else
    g.wy = g.wy + (dy > 0 and 1 or -1)
  end
end

-- Seconds between the wraith's steps: it quickens with the score.
local function wraith_pace(score)
  return math.max(0.2, 0.45 - 0.02 * score)
end

-- A glint on a free dot, one draw from all of them, so a placement always ends.
local function place_glint(g)
  local free = {}
  for y = 1, 16 do
    for x = 1, 16 do
      local wraith = gap(x, g.wx) == 0 and gap(y, g.wy) == 0
      if not wraith and (x ~= g.px or y ~= g.py) then free[#free + 1] = { x, y } end
    end
  end
  local spot = free[random(#free)]
  g.gx, g.gy, g.lit = spot[1], spot[2], true
end

-- Changes only the dots that differ, so the display never shows a half-drawn frame.
local function draw(g)
  for y = 1, 16 do
    for x = 1, 16 do
      local want = (x == g.px and y == g.py) or (g.lit and x == g.gx and y == g.gy)
        or (gap(x, g.wx) == 0 and gap(y, g.wy) == 0)
      if want ~= dot(x, y) then
        if want then dot_on(x, y) else dot_off(x, y) end
      end
    end
  end
end

local function move_player(g, step)
  g.px = math.min(16, math.max(1, g.px + step[1]))
  g.py = math.min(16, math.max(1, g.py + step[2]))
  if g.px == g.gx and g.py == g.gy then
    g.score = g.score + 1
    sound(g.score % 5 == 0 and "milestone.wav" or "glint.wav")
    place_glint(g)
  end
end

-- One game, from the corners to the catch; returns the score. g holds the
-- player (px, py), the wraith's upper left dot (wx, wy), the glint (gx, gy,
-- lit: shown in this blink) and the score.
local function play()
  local g = { px = 3, py = 14, wx = 13, wy = 2, score = 0 }
  place_glint(g)
  local next_step, next_blink = seconds() + wraith_pace(0), seconds() + BLINK
  draw(g)
  while inserted() do
    local wait = math.min(next_step, next_blink) - seconds()
    local step = STEPS[wait_key(math.max(1, math.ceil(wait * 1000)))]
    if not inserted() then break end
    if step then move_player(g, step) end
    local now = seconds()
    if not caught(g) and now >= next_step then
      wraith_step(g)
      next_step = now + wraith_pace(g.score)
    end
    if now >= next_blink then g.lit, next_blink = not g.lit, now + BLINK end
    draw(g)
    if caught(g) then
      sound("caught.wav")
      break
    end
  end
  return g.score
end

-- Waits for "Go"; false once the cartridge is out. Only "Go" starts, so
-- steps still tapped as the wraith strikes cannot skip past the score.
local function wait_for_go()
  while inserted() do
    if wait_key() == GO then return true end
  end
  return false
end

draw_rows(TITLE, 1, 1)
overlay("overlay.gif")
for i = 1, 12 do key_visible(i, i == GO or STEPS[i] ~= nil) end
for k, name in pairs(NAMES) do
  key_picture(k, name:lower() .. ".gif")
  key_name(k, name)
end
key_caption(GO, "Go")
-- A click on the display steps by its quarter: from the left, left, up, down, right.
pointer_keys({ 4, 4, 4, 4, 2, 2, 2, 2, 8, 8, 8, 8, 6, 6, 6, 6 })

while wait_for_go() do
  local score = play()
  if inserted() then show_score(score) end
end
