#include "world/Player.h"

// PLACEHOLDER: bodies to be written.
Player::Player(World*) { }
Player::~Player() { }
void Player::Update(float) { }
void Player::Render(float, float) { }
void Player::OnCollision(Object*) { }
void Player::Fire() { }
void Player::TakeHit() { }
