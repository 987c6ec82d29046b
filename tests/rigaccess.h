// Accessors to the world's private records, shared by the test rig
// (tests/rig.h) and the benchmarks' scenes (bench/scene.h). The records
// befriend one struct Rig, and each program defines it once, with
// RIGACCESS inside and its own doors beside.
#ifndef KUURAKARPALO_RIGACCESS_H
#define KUURAKARPALO_RIGACCESS_H

// Reference accessors to private fields: RIGFIELD(float, Hahmo, x) gives
// Rig::x(h) for any Hahmo h.
#define RIGFIELD(type, owner, name) \
    static type& name(owner& o) { return o.name; }

#define RIGACCESS \
    static Map& world() { return map; } \
    static Player& player() { return map.player; } \
    static Neutral& neutral(int n) { return map.neutral[n]; } \
    static Monster& monster(int n) { return map.monster[n]; } \
    static Corpse& corpse(int n) { return map.corpse[n]; } \
    static int* tile() { return map.tile; } \
    static int* tile2() { return map.tile2; } \
    static int* tile3() { return map.tile3; } \
    static int& rollx() { return map.rollx; } \
    static int& rolly() { return map.rolly; } \
    static int& sizex() { return map.sizex; } \
    static int& sizey() { return map.sizey; } \
    static int& time() { return map.time; } \
    RIGFIELD(float, Hahmo, x) RIGFIELD(float, Hahmo, y) RIGFIELD(float, Hahmo, nx) \
    RIGFIELD(float, Hahmo, ny) RIGFIELD(float, Hahmo, mx) RIGFIELD(float, Hahmo, my) \
    RIGFIELD(float, Hahmo, forcex) RIGFIELD(float, Hahmo, forcey) RIGFIELD(float, Hahmo, healtfade) \
    RIGFIELD(int, Hahmo, target) RIGFIELD(int, Hahmo, frame) RIGFIELD(int, Hahmo, counter) \
    RIGFIELD(int, Hahmo, invulnerability) RIGFIELD(int, Hahmo, invcounter) \
    RIGFIELD(int, Hahmo, invcolor) \
    RIGFIELD(int, Weapon, swordhit) RIGFIELD(int, Weapon, swordd) RIGFIELD(float, Weapon, swordfade) \
    RIGFIELD(float, Weapon, sworda) RIGFIELD(float, Weapon, swordb) \
    RIGFIELD(int, Neutral, type) RIGFIELD(int, Monster, type) RIGFIELD(int, Corpse, type) \
    RIGFIELD(int, Corpse, x) RIGFIELD(int, Corpse, y) RIGFIELD(int, Corpse, mapx) \
    RIGFIELD(int, Corpse, mapy) RIGFIELD(int, Corpse, d) RIGFIELD(float, Corpse, decay)

#endif
