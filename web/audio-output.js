// The page's sound output, an AudioWorklet processor: plays the 16-bit stereo blocks the show
// posts (Int16Array, left and right interleaved), in order, and reports how many frames it has
// played so that the show's clock can follow the sound. Silence while nothing is queued; those
// frames are not counted.
class DemoOutput extends AudioWorkletProcessor {
  constructor() {
    super();
    this.blocks = [];
    this.offset = 0;  // frames of blocks[0] already played
    this.played = 0;
    this.generation = 0;  // the show's count of resets, echoed so it can drop stale reports
    this.quanta = 0;
    this.port.onmessage = (event) => {
      if (event.data instanceof Int16Array) {
        this.blocks.push(event.data);
      } else if (event.data.reset !== undefined) {
        this.blocks = [];
        this.offset = 0;
        this.played = 0;
        this.generation = event.data.reset;
      }
    };
  }

  process(inputs, outputs) {
    const [left, right] = outputs[0];
    let at = 0;
    while (at < left.length && this.blocks.length > 0) {
      const block = this.blocks[0];
      const frames = Math.min(left.length - at, block.length / 2 - this.offset);
      for (let k = 0; k < frames; ++k) {
        const sample = 2 * (this.offset + k);
        left[at + k] = block[sample] / 32768;
        right[at + k] = block[sample + 1] / 32768;
      }
      at += frames;
      this.offset += frames;
      this.played += frames;
      if (2 * this.offset === block.length) {
        this.blocks.shift();
        this.offset = 0;
      }
    }
    left.fill(0, at);
    right.fill(0, at);
    // About every 12 ms at 44.1 kHz (128 frames per call).
    if (++this.quanta % 4 === 0) {
      this.port.postMessage([this.generation, this.played, this.blocks.length === 0]);
    }
    return true;
  }
}

registerProcessor('demo-output', DemoOutput);
