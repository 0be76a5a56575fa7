// Raised wherever the show's bytes are not what a show file holds: the page
// then shows "Invalid file !", as the player does.
export class InvalidShow extends Error {
  constructor(reason) {
    super(reason);
    this.name = "InvalidShow";
  }
}
